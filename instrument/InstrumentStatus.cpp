#include "InstrumentStatus.h"

namespace zeb {

QStringList StatusBitNames(quint8 value) {
    static const struct {
        quint8 bit;
        const char* name;
    } kBits[] = {
        {status::kRunning, "running"}, {status::kNormalEnd, "normal-end"},
        {status::kBusy, "busy"},       {status::kLineOn, "line-on"},
        {status::kError, "error"},     {status::kPaused, "paused"},
    };
    QStringList names;
    for (const auto& b : kBits) {
        if (value & b.bit) {
            names << QString::fromLatin1(b.name);
        }
    }
    return names;
}

QString ErrorMessageFor(int code) {
    // Texts as the instrument's manual and the operators know them; codes 3 and 4 share one.
    static const char* const kMessages[] = {
        "",
        "EMERGENCY STOP\nCheck safety.",
        "Fan Error\nPlease call the service center.",
        "Connection error\nCheck SURGE OUTPUT terminals.",
        "Connection error\nCheck SURGE OUTPUT terminals.",
        "Connection error\nCheck AC/DC LINE OUTPUT terminals.",
        "Line Input Error\n Input mains is inactive.",
        "Line Input Error\nTest was suspended.",
        "Interlock of TELECOM LINE OUTPUT is unlocked.",
        "Interlock is unlocked.",
        "Title name is protected.",
        "System Error\nRefer to Instruction Manual.",
        "EMERGENCY STOP is canceled.\nReboot the Surge simulator with power switch.",
    };
    constexpr int kCount = static_cast<int>(sizeof(kMessages) / sizeof(kMessages[0]));
    if (code < 0 || code >= kCount) {
        return QStringLiteral("Unknown Error");
    }
    return QString::fromLatin1(kMessages[code]);
}

}  // namespace zeb

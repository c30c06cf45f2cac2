// libFuzzer target: the three reply decoders and the identification over any bytes a line can
// deliver. They must never crash, read out of bounds or overflow.

#include <QString>

#include <cstddef>
#include <cstdint>

#include "MachineModels.h"
#include "ReplyDecoders.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Replies are at most 254 bytes; longer inputs add nothing.
    const QString reply = QString::fromLatin1(reinterpret_cast<const char*>(data),
                                              static_cast<qsizetype>(size < 254 ? size : 254));
    const QString text = zeb::DecodeText(reply);
    if (text.size() > reply.size()) {
        __builtin_trap();
    }
    (void)zeb::DecodeDecimal(reply);
    for (int digits : {1, 2, 4, 8}) {
        const quint32 v = zeb::DecodeNibbles(reply, digits);
        if (digits < 8 && v >= (1u << (4 * digits))) {
            __builtin_trap();
        }
    }
    (void)zeb::IdentCodeOf(reply);
    return 0;
}

#pragma once
// What the instrument reports about itself: the status byte ("QB"), the protection status
// ("QP") and the error codes ("QQ") with the texts shown to the operator.

#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace zeb {

namespace status {
constexpr quint8 kRunning = 0x02;    // a discharge sequence runs (also while paused)
constexpr quint8 kNormalEnd = 0x04;  // the step's discharges ended normally
constexpr quint8 kBusy = 0x08;       // the instrument is processing
constexpr quint8 kLineOn = 0x10;     // the EUT line is switched on
constexpr quint8 kError = 0x20;      // an error is present; "QQ" tells which
constexpr quint8 kPaused = 0x80;     // the run is paused
// LINE ON is accepted only while none of these is set.
constexpr quint8 kLineOnRefusedMask = kRunning | kBusy | kLineOn;
}  // namespace status

namespace protect {
constexpr quint16 kLimiter6kV = 0x0008;  // the 6 kV limiter is enabled
}

// Short names of the set status bits, lowest first ("running", "line-on", ...), for logs.
QStringList StatusBitNames(quint8 status);

// The message for an instrument error code: empty for 0, "Unknown Error" for a code not known.
QString ErrorMessageFor(int code);

}  // namespace zeb

#pragma once
// Every message about the link and the instrument that the program shows, in one place so that
// all callers use the same words. The texts are the ones operators have always seen, including
// their spelling.

#include <QString>

namespace zeb::linkmsg {

// The identification query failed during the settings check.
inline QString CouldNotConnect() {
    return QStringLiteral("Could not connect to the ZEB-M40 / ZEB-M50.");
}
// The status query failed while a test runs.
inline QString LostDuringRun() {
    return QStringLiteral(
        "Could not connect to the ZEB-M40/ZEB-M50.\nPlease see detail on ZEB screen.");
}
// The instrument runs a sequence the program did not start.
inline QString TestInterrupted() {
    return QStringLiteral("Error!\nTest is interrupted.");
}
// The run ended without the normal-end bit, or after STOP.
inline QString TestStopped() {
    return QStringLiteral("Test is stoped.");
}
// The last step ended normally.
inline QString TestComplete() {
    return QStringLiteral("Test is complete.");
}
// First line of the machine selection shown when no instrument answered at start-up.
inline QString NoInstrumentAtStart() {
    return QStringLiteral("It failed in the communication with the ZEB-M40 / ZEB-M50.");
}
// Caption of the retry instruction in the machine selection.
inline QString RetryCaption() {
    return QStringLiteral("2:When you try the communication with the ZEB-M40 / ZEB-M50 again");
}
// Protection bit set and a step above 6000 V.
inline QString Limiter6kV() {
    return QStringLiteral("6kV limiter is enabled.\nChange setup voltage or reset the limter.");
}
// Confirmation before the EUT line is switched on (OK / Cancel).
inline QString ConfirmLineOn() {
    return QStringLiteral("The EUT LINE will turn ON.\nIs it ok?");
}
// Confirmation before the EUT line is switched off on a port or line type change (OK / Cancel).
inline QString ConfirmLineOff() {
    return QStringLiteral("The EUT LINE will turn OFF.\nIs it ok?");
}
// Confirmation before a step is started (OK / Cancel).
inline QString ConfirmTestStart() {
    return QStringLiteral("Test starting.");
}
// The record was made for another machine type; the model name of the record follows.
inline QString OtherMachineType(const QString& recordModel) {
    return QStringLiteral("Could not open the file..\nThis file for %1.").arg(recordModel);
}
// AC output detail 6 asked of an instrument of hardware version 0.
inline QString CannotExecSettings() {
    return QStringLiteral("Could not exec. this test settings.");
}

}  // namespace zeb::linkmsg

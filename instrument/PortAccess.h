#pragma once
// Why a serial device that exists cannot be used. On Linux the serial devices belong to a group
// (usually dialout) and a user outside it gets "permission denied"; the port scan then simply
// finds nothing there. This names the device and its group so the operator knows what to fix.

#include <QString>

namespace zeb {

// Empty when the device can be opened for reading and writing or does not exist at all; else
// one line naming the device and the group that owns it, for example
// "Permission denied: /dev/ttyUSB0 belongs to group dialout; add your user to it and log in
// again."
QString PortAccessProblem(const QString& devicePath);

// The same for every device of the port table, one line each, empty devices skipped.
QString PortAccessProblems(const QStringList& devices);

}  // namespace zeb

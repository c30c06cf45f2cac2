#pragma once
// Maps the port numbers the program speaks of (COM1 to COM127 are scanned, COM128 can still be
// opened by number) onto serial devices.
// On Windows COMn is the device \\.\COMn. Elsewhere COMn is the n-th entry of a table: the
// devices listed in ZEB_SERIAL_PORTS (':'-separated; ';' on Windows) when that is set, otherwise
// the serial devices the system reports, ordered by kind (ttyS, ttyUSB, ttyACM, others) and then
// by number.

#include <QString>
#include <QStringList>

#include <functional>

namespace zeb {

// Highest port number the program scans.
constexpr int kMaxPortNo = 127;
// Highest port number that can be opened by number: one more than the scan visits.
constexpr int kMaxOpenPortNo = 128;

using PortTableFn = std::function<QStringList()>;

// The port table as it is now (environment and attached devices are read on every call).
QStringList SystemPortTable();

// Orders device names by kind and then by number, e.g. ttyS0, ttyS2, ttyS10, ttyUSB0, ttyACM0.
QStringList OrderSerialDevices(QStringList devices);

// Splits a ZEB_SERIAL_PORTS value into the device list (empty entries dropped). Entries beyond
// kMaxOpenPortNo are left out; ignored receives how many (when given).
QStringList ParsePortList(const QString& value, int* ignored = nullptr);

// A text for the operator when ZEB_SERIAL_PORTS names more devices than the table can hold and
// some are ignored; empty otherwise.
QString PortTableNotice();

}  // namespace zeb

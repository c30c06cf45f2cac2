#pragma once
// Where the program keeps what it ships and what a lab adds. Shipped data (standard profiles,
// EUT monitors) lies in share/zeb/<name> beside the program's bin folder, so an installed
// program finds /usr/share/zeb/<name> and a build tree its own copy; an environment variable
// may point elsewhere. A lab's own files go into <name> of the program's data folder.

#include <QString>

namespace zeb {

// The folder the environment variable names, else share/zeb/<name> beside the program.
QString ShippedDataFolder(const char* environmentVariable, const QString& name);
// <name> in the program's writable data folder (it may not exist yet).
QString LabDataFolder(const QString& name);

}  // namespace zeb

#pragma once
// The program's own version, as the about box and the opening dialog show it.

#include <QString>

namespace zeb {

// "major.minor.patch.build" of the program (build is 0), or an empty text when the program was
// built without version information.
QString GetVersionString();

}  // namespace zeb

#pragma once
// The program icon, drawn from the SVG in the program's resources (":/app/zeb.svg", which the
// executable compiles in) at the sizes window managers ask for.

#include <QIcon>

namespace zeb {

QIcon ProgramIcon();

}  // namespace zeb

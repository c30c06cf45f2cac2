#pragma once
// A combo box as a screen reader meets it: named after its label ("Result of all steps"), with
// the chosen item as its value. Qt's own interface on Linux gives the chosen item as the name and
// leaves the label to a relation that not every reader follows, so the operator heard "PASS"
// with nothing to say what was PASS.

class QComboBox;

namespace zeb {

// Makes every combo box that is not editable speak its accessible name (the chosen item when it
// has none) as its name and the chosen item as its value. Idempotent; call before the first combo
// box is shown.
void InstallNamedComboAccessibility();

}  // namespace zeb

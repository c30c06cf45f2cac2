#pragma once
// Every control carries the name of what it means, for screen readers and UI automation: a
// label becomes the buddy of its field and lends it its text as accessible name.

class QLabel;
class QWidget;

namespace zeb {

// Makes `label` the buddy of `field` and names the field after the label's text (without the
// mnemonic ampersand and a trailing colon). Returns the label.
QLabel* LabelFor(QLabel* label, QWidget* field);

}  // namespace zeb

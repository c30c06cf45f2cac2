#include "ValueLabel.h"

#include <QLabel>

namespace zeb {

namespace {
void Describe(QLabel* label) {
    // A value that runs over several lines is read as one.
    const QString description = label->text().simplified();
    // Each new value is announced; an unchanged one (the same countdown again) is not.
    if (label->accessibleDescription() != description) {
        label->setAccessibleDescription(description);
    }
}
}  // namespace

void SetValueCaption(QLabel* label, const QString& caption) {
    // A value is never markup, whatever characters it holds.
    label->setTextFormat(Qt::PlainText);
    label->setAccessibleName(caption);
    Describe(label);
}

void ShowValue(QLabel* label, const QString& value) {
    label->setText(value);
    Describe(label);
}

}  // namespace zeb

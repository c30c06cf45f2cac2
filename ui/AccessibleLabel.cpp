#include "AccessibleLabel.h"

#include <QLabel>
#include <QWidget>

namespace zeb {

QLabel* LabelFor(QLabel* label, QWidget* field) {
    if (!label || !field) {
        return label;
    }
    label->setBuddy(field);
    QString name = label->text();
    name.remove(QLatin1Char('&'));
    name = name.simplified();
    if (name.endsWith(QLatin1Char(':'))) {
        name.chop(1);
    }
    field->setAccessibleName(name);
    return label;
}

}  // namespace zeb

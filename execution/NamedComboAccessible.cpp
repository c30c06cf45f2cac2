#include "NamedComboAccessible.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QComboBox>

namespace zeb {

namespace {

class CNamedComboAccessible : public QAccessibleWidget {
public:
    explicit CNamedComboAccessible(QComboBox* combo)
        : QAccessibleWidget(combo, QAccessible::ComboBox) {}

    QString text(QAccessible::Text t) const override {
        switch (t) {
            case QAccessible::Name: {
                const QString name = Combo()->accessibleName();
                return name.isEmpty() ? Combo()->currentText() : name;
            }
            case QAccessible::Value:
                return Combo()->currentText();
            case QAccessible::Description: {
                // Read after the name: "Result, PASS".
                const QString description = Combo()->accessibleDescription();
                return description.isEmpty() ? Combo()->currentText() : description;
            }
            default:
                return QAccessibleWidget::text(t);
        }
    }

    // The list of items, as Qt's own interface has it, so a reader can walk the choices.
    int childCount() const override { return 1; }
    QAccessibleInterface* child(int index) const override {
        return index == 0 ? QAccessible::queryAccessibleInterface(Combo()->view()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child && child->object() == Combo()->view() ? 0 : -1;
    }

    QStringList actionNames() const override { return {showMenuAction(), pressAction()}; }
    void doAction(const QString& action) override {
        if (action == showMenuAction() || action == pressAction()) {
            Combo()->showPopup();
        }
    }

private:
    QComboBox* Combo() const { return static_cast<QComboBox*>(widget()); }
};

QAccessibleInterface* NamedComboFactory(const QString& key, QObject* object) {
    if (key != QLatin1String("QComboBox")) {
        return nullptr;
    }
    auto* combo = qobject_cast<QComboBox*>(object);
    if (!combo || combo->isEditable()) {
        return nullptr;  // an editable one is a text field first; Qt's interface fits it
    }
    return new CNamedComboAccessible(combo);
}

}  // namespace

void InstallNamedComboAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(NamedComboFactory);
        return true;
    }();
    (void)installed;
}

}  // namespace zeb

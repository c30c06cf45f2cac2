#pragma once
// Cut, Copy and Paste of the main window act on the text field that has the keyboard focus, as
// everywhere on the desktop, and are greyed when there is nothing to cut, copy or paste there.
// A field is a line edit, a text edit, or a label whose text can be selected (the summary's
// values); a read-only field can still be copied from, never cut or pasted into.

#include <QMetaObject>
#include <QObject>
#include <QPointer>

class QAction;
class QWidget;

namespace zeb {

struct EditAbilities {
    bool cut = false;
    bool copy = false;
    bool paste = false;
};

// What the three commands can do on `field` (nullptr or not a text field: nothing).
EditAbilities EditAbilitiesOf(const QWidget* field, bool clipboardHasText);

// Carries out the command on `field` when it can; false when there was nothing to do.
bool CutIn(QWidget* field);
bool CopyIn(QWidget* field);
bool PasteIn(QWidget* field);

// Keeps the three actions on the field focused inside `owner`'s window (docked windows
// included): their enabled state follows the focus, the field's selection and text, and the
// clipboard; triggering one acts on that field. The owner destroys it before its actions.
class CEditCommands : public QObject {
public:
    CEditCommands(QWidget* owner, QAction* cut, QAction* copy, QAction* paste);
    ~CEditCommands() override;

    // The field the commands act on now, or nullptr.
    QWidget* Field() const { return m_field; }
    void Update();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Follow(QWidget* now);

    QWidget* m_owner;
    QAction* m_cut;
    QAction* m_copy;
    QAction* m_paste;
    QPointer<QWidget> m_field;
    QMetaObject::Connection m_focus;
    QMetaObject::Connection m_fieldSignals[2];
};

}  // namespace zeb

#include "EditCommands.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace zeb {

namespace {

// The text field behind a focused control: a combo box or a spin box edits through its own
// line edit.
QWidget* TextFieldOf(QWidget* w) {
    if (auto* combo = qobject_cast<QComboBox*>(w)) {
        return combo->isEditable() ? combo->lineEdit() : nullptr;
    }
    if (auto* spin = qobject_cast<QAbstractSpinBox*>(w)) {
        return spin->findChild<QLineEdit*>();
    }
    if (qobject_cast<QLineEdit*>(w) || qobject_cast<QTextEdit*>(w) ||
        qobject_cast<QPlainTextEdit*>(w) || qobject_cast<QLabel*>(w)) {
        return w;
    }
    return nullptr;
}

bool ClipboardHasText() {
    return !QApplication::clipboard()->text().isEmpty();
}

bool Within(const QWidget* w, const QWidget* owner) {
    for (; w; w = w->parentWidget()) {
        if (w == owner) {
            return true;
        }
    }
    return false;
}

}  // namespace

EditAbilities EditAbilitiesOf(const QWidget* field, bool clipboardHasText) {
    EditAbilities can;
    if (!field || !field->isEnabled()) {
        return can;
    }
    if (const auto* edit = qobject_cast<const QLineEdit*>(field)) {
        // A password field gives nothing away.
        const bool selected = edit->hasSelectedText() && edit->echoMode() == QLineEdit::Normal;
        can.copy = selected;
        can.cut = selected && !edit->isReadOnly();
        can.paste = clipboardHasText && !edit->isReadOnly();
    } else if (const auto* text = qobject_cast<const QTextEdit*>(field)) {
        can.copy = text->textCursor().hasSelection();
        can.cut = can.copy && !text->isReadOnly();
        can.paste = clipboardHasText && !text->isReadOnly();
    } else if (const auto* plain = qobject_cast<const QPlainTextEdit*>(field)) {
        can.copy = plain->textCursor().hasSelection();
        can.cut = can.copy && !plain->isReadOnly();
        can.paste = clipboardHasText && !plain->isReadOnly();
    } else if (const auto* label = qobject_cast<const QLabel*>(field)) {
        can.copy = label->hasSelectedText();
    }
    return can;
}

bool CutIn(QWidget* field) {
    if (!EditAbilitiesOf(field, false).cut) {
        return false;
    }
    if (auto* edit = qobject_cast<QLineEdit*>(field)) {
        edit->cut();
    } else if (auto* text = qobject_cast<QTextEdit*>(field)) {
        text->cut();
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(field)) {
        plain->cut();
    }
    return true;
}

bool CopyIn(QWidget* field) {
    if (!EditAbilitiesOf(field, false).copy) {
        return false;
    }
    if (auto* edit = qobject_cast<QLineEdit*>(field)) {
        edit->copy();
    } else if (auto* text = qobject_cast<QTextEdit*>(field)) {
        text->copy();
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(field)) {
        plain->copy();
    } else if (auto* label = qobject_cast<QLabel*>(field)) {
        QApplication::clipboard()->setText(label->selectedText());
    }
    return true;
}

bool PasteIn(QWidget* field) {
    if (!EditAbilitiesOf(field, ClipboardHasText()).paste) {
        return false;
    }
    if (auto* edit = qobject_cast<QLineEdit*>(field)) {
        edit->paste();
    } else if (auto* text = qobject_cast<QTextEdit*>(field)) {
        text->paste();
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(field)) {
        plain->paste();
    }
    return true;
}

CEditCommands::CEditCommands(QWidget* owner, QAction* cut, QAction* copy, QAction* paste)
    : m_owner(owner), m_cut(cut), m_copy(copy), m_paste(paste) {
    connect(m_cut, &QAction::triggered, this, [this] { CutIn(m_field); });
    connect(m_copy, &QAction::triggered, this, [this] { CopyIn(m_field); });
    connect(m_paste, &QAction::triggered, this, [this] { PasteIn(m_field); });
    m_focus = connect(qApp, &QApplication::focusChanged, this,
                      [this](QWidget*, QWidget* now) { Follow(now); });
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this, &CEditCommands::Update);
    Follow(QApplication::focusWidget());
}

CEditCommands::~CEditCommands() {
    disconnect(m_focus);
    if (m_field) {
        m_field->removeEventFilter(this);
    }
}

void CEditCommands::Follow(QWidget* now) {
    QWidget* field = Within(now, m_owner) ? TextFieldOf(now) : nullptr;
    // Focus moving into a modal dialog or another window leaves nothing here to act on.
    if (field != m_field) {
        if (m_field) {
            m_field->removeEventFilter(this);
        }
        for (QMetaObject::Connection& c : m_fieldSignals) {
            disconnect(c);
        }
        m_field = field;
        if (auto* edit = qobject_cast<QLineEdit*>(field)) {
            m_fieldSignals[0] =
                connect(edit, &QLineEdit::selectionChanged, this, &CEditCommands::Update);
            m_fieldSignals[1] =
                connect(edit, &QLineEdit::textChanged, this, &CEditCommands::Update);
        } else if (auto* text = qobject_cast<QTextEdit*>(field)) {
            m_fieldSignals[0] =
                connect(text, &QTextEdit::copyAvailable, this, &CEditCommands::Update);
        } else if (auto* plain = qobject_cast<QPlainTextEdit*>(field)) {
            m_fieldSignals[0] =
                connect(plain, &QPlainTextEdit::copyAvailable, this, &CEditCommands::Update);
        }
        // A label says nothing when its selection changes; the mouse or key that changed it
        // is heard instead.
        if (field) {
            field->installEventFilter(this);
        }
    }
    Update();
}

void CEditCommands::Update() {
    const EditAbilities can = EditAbilitiesOf(m_field, ClipboardHasText());
    m_cut->setEnabled(can.cut);
    m_copy->setEnabled(can.copy);
    m_paste->setEnabled(can.paste);
}

bool CEditCommands::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::MouseButtonRelease:
        case QEvent::KeyRelease:
        case QEvent::ReadOnlyChange:
        case QEvent::EnabledChange:
            Update();
            break;
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace zeb

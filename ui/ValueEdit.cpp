#include "ValueEdit.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "ValueRules.h"

namespace zeb {

CValueEdit::CValueEdit(QWidget* parent, int options)
    : QWidget(parent),
      m_edit(new QLineEdit(this)),
      m_up(new QToolButton(this)),
      m_down(new QToolButton(this)),
      m_options(options) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(1);
    m_edit->setAlignment(Qt::AlignRight);
    m_edit->setMinimumWidth(56);
    row->addWidget(m_edit, 1);
    auto* arrows = new QVBoxLayout;
    arrows->setSpacing(0);
    for (QToolButton* b : {m_up, m_down}) {
        b->setArrowType(b == m_up ? Qt::UpArrow : Qt::DownArrow);
        b->setFocusPolicy(Qt::NoFocus);
        b->setAutoRepeat(true);
        b->setFixedSize(16, 12);
        arrows->addWidget(b);
    }
    row->addLayout(arrows);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setFocusProxy(m_edit);
    m_edit->installEventFilter(this);

    connect(m_edit, &QLineEdit::textEdited, this, &CValueEdit::OnTextEdited);
    // First in line: whatever the owner projects in answer to this field's own report is shown.
    connect(this, &CValueEdit::Committed, this, [this] { m_answer = true; });
    connect(this, &CValueEdit::Spun, this, [this] { m_answer = true; });
    connect(m_up, &QToolButton::clicked, this, [this] { emit Spun(true); });
    connect(m_down, &QToolButton::clicked, this, [this] { emit Spun(false); });
}

CValueEdit::~CValueEdit() {
    // The line edit loses the focus while it is taken down with this field, and would report a
    // finished edit to a field that is already half gone.
    m_edit->removeEventFilter(this);
    disconnect(m_edit, nullptr, this, nullptr);
}

QString CValueEdit::Text() const {
    return m_edit->text();
}

void CValueEdit::Show(const QString& text) {
    if (m_answer || text != m_shown) {
        m_shown = text;
        if (m_edit->text() != text) {
            m_edit->setText(text);
        }
    }
    m_answer = false;
}

void CValueEdit::SetName(const QString& name) {
    m_edit->setAccessibleName(name);
    m_up->setAccessibleName(name + tr(" up"));
    m_down->setAccessibleName(name + tr(" down"));
}

void CValueEdit::MoveFocusOn() {
    // A Tab press travels the focus chain as the keyboard does.
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QCoreApplication::sendEvent(m_edit, &tab);
}

void CValueEdit::OnTextEdited() {
    const FilteredInput f = FilterNumericInput(m_edit->text(), m_edit->cursorPosition());
    if (f.changed) {
        m_edit->setText(f.text);
        m_edit->setCursorPosition(f.caret);
    }
}

bool CValueEdit::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_edit) {
        return QWidget::eventFilter(watched, event);
    }
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        switch (key->key()) {
            case Qt::Key_Return:
            case Qt::Key_Enter:
                // Enter finishes the field and moves on; it never closes the dialog.
                emit Committed();
                MoveFocusOn();
                return true;
            case Qt::Key_Escape:
                return (m_options & kSwallowEscape) != 0;
            case Qt::Key_Up:
            case Qt::Key_Down:
                emit Spun(key->key() == Qt::Key_Up);
                return true;
            default:
                break;
        }
    } else if (event->type() == QEvent::FocusIn && (m_options & kSelectAllOnFocus)) {
        QTimer::singleShot(0, m_edit, &QLineEdit::selectAll);
    } else if (event->type() == QEvent::FocusOut &&
               static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
        // Every time the field is left it settles into its limits, typed in or not: the owner
        // may have narrowed them since (a telecom port that allows 6 kV while 7.0 is shown).
        // The line edit's own finished-edit signal stays silent when the text is unchanged
        // since it last fired, so it cannot serve here. A context menu is not leaving.
        emit Committed();
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace zeb

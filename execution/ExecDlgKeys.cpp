// The run dialog's keyboard rules: which keys it treats before the focused control does, and
// what Enter presses. A key may stop a test, never start one or switch the EUT line on.

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QTableView>

#include "ExecDlg.h"
#include "ExecWidgets.h"
#include "RunSequencer.h"

namespace zeb {

namespace {

// The keys the run dialog treats on its own before the focused control sees them.
enum class ExecKey { Enter, Space, Escape, Left, Up, Right, Down, Other };

ExecKey KeyOf(int key) {
    switch (key) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return ExecKey::Enter;
        case Qt::Key_Space:
            return ExecKey::Space;
        case Qt::Key_Escape:
            return ExecKey::Escape;
        case Qt::Key_Left:
            return ExecKey::Left;
        case Qt::Key_Up:
            return ExecKey::Up;
        case Qt::Key_Right:
            return ExecKey::Right;
        case Qt::Key_Down:
            return ExecKey::Down;
        default:
            return ExecKey::Other;
    }
}

}  // namespace

// Enter presses the focused push button (Close, the judgement buttons, STOP); elsewhere it
// presses the default button only when that is STOP. A key may stop a test, but never start one
// or switch the line on (the keyboard rules swallow Enter on START and LINE ON before this).
void CExecDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        auto* focused = qobject_cast<QPushButton*>(QApplication::focusWidget());
        // LINE OFF is a radio: Enter does not switch it either.
        const bool keyPresses =
            focused != m_w->lineOff && CRunSequencer::KeyMayAct(ControlOf(focused));
        if (focused && isAncestorOf(focused) && keyPresses) {
            if (focused->isEnabled()) {
                focused->click();
            }
        } else if (m_w->stop->isDefault() && m_w->stop->isEnabled()) {
            m_w->stop->click();
        }
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool CExecDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_w->list->viewport() && event->type() == QEvent::Resize) {
        FitColumns();
        return false;
    }
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) {
        return QDialog::eventFilter(watched, event);
    }
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget != QApplication::focusWidget() ||
        (widget != this && !isAncestorOf(widget)) || !isActiveWindow()) {
        return QDialog::eventFilter(watched, event);
    }
    auto* key = static_cast<QKeyEvent*>(event);
    const ExecKey k = KeyOf(key->key());
    const ExecControl focus = ControlOf(widget);
    // Enter and Space never press START or LINE ON, neither on the press nor on the release.
    if ((k == ExecKey::Enter || k == ExecKey::Space) && !CRunSequencer::KeyMayAct(focus)) {
        return true;
    }
    if (event->type() == QEvent::KeyRelease) {
        return QDialog::eventFilter(watched, event);
    }
    Sequencer().NoteFocus(focus);
    switch (k) {
        case ExecKey::Escape:
            if (Sequencer().OnEscape()) {
                return true;
            }
            break;
        case ExecKey::Left:
        case ExecKey::Up:
            if (focus == ExecControl::LineOff) {
                m_w->lineOn->setFocus();
                return true;
            }
            break;
        case ExecKey::Right:
        case ExecKey::Down:
            // The line radios and START are stepped through like Tab; from Close the arrows
            // wrap round to LINE ON.
            if (focus == ExecControl::LineOff || focus == ExecControl::Start) {
                focusNextChild();
                return true;
            }
            if (focus == ExecControl::Close) {
                m_w->lineOn->setFocus();
                return true;
            }
            break;
        default:
            break;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace zeb

#include "ChildFrame.h"

#include <QCloseEvent>
#include <QScrollArea>
#include <QWindowStateChangeEvent>

#include "ChildPlacement.h"
#include "ZebM40SettingsView.h"

namespace zeb {

CChildFrame::CChildFrame(CZebM40SettingsView* view, QWidget* parent)
    : QMdiSubWindow(parent), m_view(view) {
    // A window smaller than the form scrolls instead of squeezing the summary and the buttons.
    auto* scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidget(view);
    setWidget(scroll);
    setAttribute(Qt::WA_DeleteOnClose);
}

CZebM40SettingsDoc& CChildFrame::Document() const {
    return m_view->Document();
}

void CChildFrame::changeEvent(QEvent* event) {
    if (event->type() == QEvent::WindowStateChange) {
        const auto* change = static_cast<QWindowStateChangeEvent*>(event);
        if (const char* state = WindowStateToStore(change->oldState(), windowState())) {
            StoreWindowState(state);
        }
    }
    QMdiSubWindow::changeEvent(event);
}

void CChildFrame::closeEvent(QCloseEvent* event) {
    if (m_canClose && !m_canClose()) {
        event->ignore();
        return;
    }
    QMdiSubWindow::closeEvent(event);
}

}  // namespace zeb

#include "ChildFrame.h"

#include <QCloseEvent>
#include <QLayout>
#include <QScrollArea>
#include <QStyle>
#include <QWindowStateChangeEvent>

#include "ChildPlacement.h"
#include "ZebM40SettingsView.h"

namespace zeb {

namespace {
// Activates the layouts of `w` and its descendants, innermost first, so each box hands its
// up-to-date size to the box around it.
void LayOutInsideOut(QWidget* w) {
    for (QObject* child : w->children()) {
        if (child->isWidgetType()) {
            LayOutInsideOut(static_cast<QWidget*>(child));
        }
    }
    if (QLayout* layout = w->layout()) {
        layout->invalidate();
        layout->activate();
    }
}
}  // namespace

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

void CChildFrame::FitToForm() {
    ensurePolished();
    // The labels were filled since the event loop last ran: lay out the inner boxes first, so
    // the form's size counts what they hold now.
    LayOutInsideOut(m_view);
    // Title bar and borders: what the window has around the scroll area that carries the form.
    const QMargins m = contentsMargins();
    const QSize frame(m.left() + m.right(), m.top() + m.bottom());
    const QSize hint = m_view->sizeHint();
    // Wrapped values make the form taller the narrower it is: its height at the width it gets.
    const int width = std::min(hint.width(), size().width() - frame.width());
    const int height = m_view->hasHeightForWidth()
                           ? std::max(hint.height(), m_view->heightForWidth(width))
                           : hint.height();
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    resize(FittedWindowSize(size(), frame, QSize(hint.width(), height), scrollBar));
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

#include "FirstPaint.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace zeb {

namespace {

// Watches the window until it paints, then hands `done` to the event loop and removes itself.
// A top-level window paints its whole backing store while it handles an update request.
class FirstPaintWatch : public QObject {
public:
    FirstPaintWatch(QWidget& window, std::function<void()> done)
        : QObject(&window), m_done(std::move(done)) {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint || event->type() == QEvent::UpdateRequest) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, parent(), std::move(m_done));
            deleteLater();
        }
        return false;
    }

private:
    std::function<void()> m_done;
};

}  // namespace

void AfterFirstPaint(QWidget& window, std::function<void()> done) {
    new FirstPaintWatch(window, std::move(done));  // owned by the window
}

}  // namespace zeb

#pragma once
// The moment the operator first sees a window: after its first paint has been handled. The
// start-up benchmark measures the program up to this moment.

#include <functional>

class QWidget;

namespace zeb {

// Calls `done` once, from the event loop, after `window` has been painted for the first time
// (queued behind the paint, so the picture is complete). Nothing is called if the window goes
// away before it was painted.
void AfterFirstPaint(QWidget& window, std::function<void()> done);

}  // namespace zeb

#pragma once
// Labels that show a value beside a caption of their own (a step number, a port name, the
// model). The caption is the label's accessible name, so UI automation finds it by what it
// means; the value it shows is its accessible description and follows every change, so a
// screen reader says "Output port, AC LINE OUTPUT" and not the caption alone.

#include <QString>

class QLabel;

namespace zeb {

// Names `label` after `caption` (and describes it by what it shows now).
void SetValueCaption(QLabel* label, const QString& caption);

// Shows `value` in `label` and describes the label by it.
void ShowValue(QLabel* label, const QString& value);

}  // namespace zeb

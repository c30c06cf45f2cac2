#pragma once
// What the run dialog shows, as a pure function of the run session's state: the sequencer's
// panel, whether the monitor is judging the step that ended, and whether the journal can be
// written. The dialog renders Project(state) after every transition and nothing else; a test
// reads the widgets back and compares them with it.

#include <QString>

#include "PanelState.h"
#include "RunPhase.h"

namespace zeb {

struct RunSessionState {
    RunPhase phase = RunPhase::Closed;
    ExecPanelState panel;   // Panel() of the sequencer's facts
    bool checking = false;  // the EUT monitor judges the step that ended; the run waits
    QString journalNotice;  // why the run's journal cannot be written (empty: it can)
};

RunView Project(const RunSessionState& state);

}  // namespace zeb

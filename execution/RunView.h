#pragma once
// What the run dialog shows, as a pure function of the run session's state: the panel the
// sequencer keeps, whether the monitor is judging the step that ended, and whether the journal
// can be written. The dialog renders Project(state) after every transition and nothing else;
// a test reads the widgets back and compares them with it.

#include <QString>

#include "PanelState.h"
#include "RunPhase.h"

namespace zeb {

struct RunSessionState {
    RunPhase phase = RunPhase::Closed;
    ExecPanelState panel;
    bool checking = false;  // the EUT monitor judges the step that ended; the run waits
    QString journalNotice;  // why the run's journal cannot be written (empty: it can)
};

// What START does when pressed, and so what it is called.
enum class StartAction { Start, Pause, Resume };
// Which of the line radios is checked (the instrument's line as last shown).
enum class LineShown { None, On, Off };

struct RunView {
    bool lineOnEnabled = false;
    bool lineOffEnabled = false;
    LineShown line = LineShown::None;
    bool startEnabled = false;
    bool stopEnabled = false;
    StartAction startAction = StartAction::Start;
    ExecControl defaultButton = ExecControl::Start;
    bool lampLit = false;
    bool pauseVisible = false;
    bool processingVisible = false;
    bool notConnectedVisible = false;
    bool checkingVisible = false;
    bool journalNoticeVisible = false;
    bool impedanceVisible = false;
    bool judgementEnabled = false;  // bulk judgement, delete comments, report
    int selectedRow = -1;

    QString stepNumber;
    QString stepTotal;
    QString dischargeDone;
    QString dischargeTotal;
    QString countdown;
    QString interval;
    QString outputPort;
    QString outputLines;
    QString waveform;
    QString impedance;
    QString remaining;

    bool operator==(const RunView& o) const;
    bool operator!=(const RunView& o) const { return !(*this == o); }
};

RunView Project(const RunSessionState& state);

}  // namespace zeb

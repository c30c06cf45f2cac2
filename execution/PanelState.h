#pragma once
// Everything the run dialog shows, as one value: which controls are enabled, checked and
// visible, every text, the START icon, the lamp, the default button and the focus. The
// sequencer produces it; the dialog renders it; tests compare it whole.

#include <QString>

namespace zeb {

// The controls the sequencer speaks of (focus, default button, keyboard rules).
enum class ExecControl { None, LineOn, LineOff, Start, Stop, List, Close, Other };
enum class StartIcon { Play, Pause };

struct ExecPanelState {
    bool lineOnEnabled = true;
    bool lineOffEnabled = true;
    bool lineOnChecked = false;
    bool lineOffChecked = false;
    bool startEnabled = false;  // START and STOP start disabled; the first idle poll decides
    bool stopEnabled = false;
    StartIcon startIcon = StartIcon::Play;
    ExecControl defaultButton = ExecControl::Start;
    ExecControl focus = ExecControl::None;
    bool lampLit = false;
    bool pauseVisible = false;         // "* PAUSE *"
    bool processingVisible = false;    // the instrument is busy
    bool notConnectedVisible = false;  // no instrument answers
    bool impedanceVisible = false;     // ring-wave impedance caption and value
    // The bulk judgement combo and button, delete comments and the report button: usable only
    // while no test runs.
    bool judgementEnabled = true;
    int selectedRow = -1;

    QString stepTotal;
    QString stepNumber;
    QString dischargeTotal;
    QString dischargeDone;
    QString countdown;
    QString interval;
    QString outputPort;
    QString outputLines;
    QString waveform;
    QString impedance;
    QString remaining;

    bool operator==(const ExecPanelState& o) const;
    bool operator!=(const ExecPanelState& o) const { return !(*this == o); }
};

}  // namespace zeb

#include "RunView.h"

#include <tuple>

namespace zeb {

namespace {
auto Tie(const RunView& v) {
    return std::tie(v.lineOnEnabled, v.lineOffEnabled, v.line, v.startEnabled, v.stopEnabled,
                    v.startAction, v.defaultButton, v.lampLit, v.pauseVisible, v.processingVisible,
                    v.notConnectedVisible, v.checkingVisible, v.journalNoticeVisible,
                    v.impedanceVisible, v.judgementEnabled, v.selectedRow, v.stepNumber,
                    v.stepTotal, v.dischargeDone, v.dischargeTotal, v.countdown, v.interval,
                    v.outputPort, v.outputLines, v.waveform, v.impedance, v.remaining);
}
}  // namespace

bool RunView::operator==(const RunView& o) const {
    return Tie(*this) == Tie(o);
}

RunView Project(const RunSessionState& state) {
    const ExecPanelState& s = state.panel;
    RunView v;
    v.lineOnEnabled = s.lineOnEnabled;
    v.lineOffEnabled = s.lineOffEnabled;
    v.line = s.lineOnChecked ? LineShown::On : s.lineOffChecked ? LineShown::Off : LineShown::None;
    v.startEnabled = s.startEnabled;
    v.stopEnabled = s.stopEnabled;
    // START shows the pause symbol while a step runs; pressed on a paused step it resumes.
    v.startAction = s.startIcon == StartIcon::Pause ? StartAction::Pause
                    : s.pauseVisible                ? StartAction::Resume
                                                    : StartAction::Start;
    v.defaultButton = s.defaultButton;
    v.lampLit = s.lampLit;
    v.pauseVisible = s.pauseVisible;
    v.processingVisible = s.processingVisible;
    v.notConnectedVisible = s.notConnectedVisible;
    v.checkingVisible = state.checking && state.phase != RunPhase::Closed;
    v.journalNoticeVisible = !state.journalNotice.isEmpty();
    v.impedanceVisible = s.impedanceVisible;
    v.judgementEnabled = s.judgementEnabled;
    v.selectedRow = s.selectedRow;
    v.stepNumber = s.stepNumber;
    v.stepTotal = s.stepTotal;
    v.dischargeDone = s.dischargeDone;
    v.dischargeTotal = s.dischargeTotal;
    v.countdown = s.countdown;
    v.interval = s.interval;
    v.outputPort = s.outputPort;
    v.outputLines = s.outputLines;
    v.waveform = s.waveform;
    v.impedance = s.impedance;
    v.remaining = s.remaining;
    return v;
}

}  // namespace zeb

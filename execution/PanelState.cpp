#include "PanelState.h"

#include <tuple>

namespace zeb {

namespace {
auto Tie(const ExecPanelState& s) {
    return std::tie(s.lineOnEnabled, s.lineOffEnabled, s.lineOnChecked, s.lineOffChecked,
                    s.startEnabled, s.stopEnabled, s.startIcon, s.defaultButton, s.focus, s.lampLit,
                    s.pauseVisible, s.processingVisible, s.notConnectedVisible, s.impedanceVisible,
                    s.judgementEnabled, s.selectedRow, s.stepTotal, s.stepNumber, s.dischargeTotal,
                    s.dischargeDone, s.countdown, s.interval, s.outputPort, s.outputLines,
                    s.waveform, s.impedance, s.remaining);
}
}  // namespace

bool ExecPanelState::operator==(const ExecPanelState& o) const {
    return Tie(*this) == Tie(o);
}

}  // namespace zeb

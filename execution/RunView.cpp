#include "RunView.h"

namespace zeb {

RunView Project(const RunSessionState& state) {
    RunView v = state.panel;
    v.checkingVisible = state.checking && state.phase != RunPhase::Closed;
    v.journalNoticeVisible = !state.journalNotice.isEmpty();
    return v;
}

}  // namespace zeb

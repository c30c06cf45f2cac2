#include "TimerHost.h"

namespace zeb {

CQtTimerHost::CQtTimerHost(std::function<void(int)> onTick, QObject* parent)
    : QObject(parent), m_onTick(std::move(onTick)) {
    for (int id = 0; id < kTimerCount; ++id) {
        m_timers[id].setTimerType(Qt::PreciseTimer);
        connect(&m_timers[id], &QTimer::timeout, this, [this, id] {
            if (m_onTick) {
                m_onTick(id);
            }
        });
    }
}

void CQtTimerHost::SetTimer(int id, int periodMs) {
    if (id >= 0 && id < kTimerCount) {
        m_timers[id].start(periodMs);
    }
}

void CQtTimerHost::KillTimer(int id) {
    if (id >= 0 && id < kTimerCount) {
        m_timers[id].stop();
    }
}

bool CQtTimerHost::IsArmed(int id) const {
    return id >= 0 && id < kTimerCount && m_timers[id].isActive();
}

}  // namespace zeb

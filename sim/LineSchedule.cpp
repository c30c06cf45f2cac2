#include "LineSchedule.h"

#include <algorithm>

namespace zebsim {

std::int64_t LineSchedule::Arrival(std::int64_t nowUs) {
    if (!m_paced) {
        return nowUs;
    }
    m_lastInUs = std::max(nowUs, m_lastInUs) + kByteTimeUs;
    return m_lastInUs;
}

void LineSchedule::Push(const QByteArray& bytes, std::int64_t producedUs, int delayMs, bool paced) {
    const bool pace = m_paced && paced;
    std::int64_t due = std::max(producedUs, m_lastQueuedUs) + std::int64_t{1000} * delayMs;
    for (char value : bytes) {
        if (pace) {
            due += kByteTimeUs;
        }
        m_queue.push_back({value, due});
    }
    m_lastQueuedUs = std::max(m_lastQueuedUs, due);
}

void LineSchedule::Drop() {
    m_queue.clear();
    m_lastQueuedUs = m_lastSentUs;
}

QByteArray LineSchedule::TakeDue(std::int64_t nowUs) {
    QByteArray out;
    while (!m_queue.empty() && m_queue.front().dueUs <= nowUs) {
        out.append(m_queue.front().value);
        m_lastSentUs = m_queue.front().dueUs;
        m_queue.pop_front();
    }
    return out;
}

}  // namespace zebsim

#pragma once
// Timing of the serial line between the instrument and the PC. Without pacing, bytes are due
// the moment they are produced. With 9600-baud pacing (10 bits a character) every byte takes
// its 1.04 ms on the wire, in either direction, before the other side can act on it.
// Times are microseconds of a monotonic clock; the class does no I/O.

#include <QByteArray>

#include <cstdint>
#include <deque>

namespace zebsim {

class LineSchedule {
public:
    static constexpr std::int64_t kByteTimeUs = 1042;  // 10 bits at 9600 baud

    explicit LineSchedule(bool paced) : m_paced(paced) {}

    // The moment a byte read from the PC at nowUs has fully arrived.
    std::int64_t Arrival(std::int64_t nowUs);

    // Queues bytes to send, produced at producedUs; the first is held back delayMs more.
    // Unpaced bytes (stale data meant to be already waiting) go out in one piece.
    void Push(const QByteArray& bytes, std::int64_t producedUs, int delayMs, bool paced = true);
    // Forgets every byte not yet taken.
    void Drop();

    bool Empty() const { return m_queue.empty(); }
    // When the next byte is due; only meaningful when not Empty().
    std::int64_t NextDueUs() const { return m_queue.front().dueUs; }
    // Removes and returns every byte due at nowUs.
    QByteArray TakeDue(std::int64_t nowUs);

private:
    struct Byte {
        char value;
        std::int64_t dueUs;
    };

    bool m_paced;
    std::deque<Byte> m_queue;
    std::int64_t m_lastInUs = 0;
    std::int64_t m_lastQueuedUs = 0;  // due time of the last byte queued
    std::int64_t m_lastSentUs = 0;    // due time of the last byte taken
};

}  // namespace zebsim

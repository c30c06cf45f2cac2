#include "PtySimulator.h"

#include <fcntl.h>
#include <poll.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif
#include <unistd.h>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <mutex>
#include <thread>

#include "LineSchedule.h"
#include "ProtocolEngine.h"
#include "PtyDevice.h"

namespace zebsim {

// How long InjectFault() waits for stale bytes to reach the client's side of the terminal.
constexpr int kStaleHandOverMs = 200;

// The serving thread sleeps in ppoll() on the pty master and on a wake-up pipe, with a time-out
// only while bytes wait for their moment on the line; it never spins. The engine and the line
// schedule are shared with the caller's thread (faults, log) and guarded by one mutex.
class PtySimulator::Impl {
public:
    explicit Impl(const SimOptions& options)
        : m_engine(options), m_schedule(options.pacing9600), m_epoch(Clock::now()) {}
    ~Impl() { Stop(); }

    bool Start();
    void Stop();
    QString DevicePath() const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_device.ClientPath();
    }

    void InjectFault(Fault fault);
    void ClearFaults();
    void RaiseError(int code);
    void SetLimiter(bool enabled);
    QStringList CommandLog() const;
    void ClearLog();
    void SetObserver(CommandObserver observer);

private:
    using Clock = std::chrono::steady_clock;

    std::int64_t NowUs() const {
        return std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - m_epoch)
            .count();
    }
    void Serve();
    void Wake();
    // Puts every byte that is due on the line; returns how many went out. Caller holds m_mutex.
    int WriteDueLocked(std::int64_t nowUs);
    // Feeds what the client sent to the engine; false when the read itself failed.
    bool ReadFromClient();
    void QueueStaleLocked(std::int64_t nowUs);

    mutable std::mutex m_mutex;
    ProtocolEngine m_engine;
    LineSchedule m_schedule;
    PtyDevice m_device;
    CommandObserver m_observer;
    const Clock::time_point m_epoch;

    std::thread m_thread;
    std::atomic<bool> m_stopping{false};
    int m_wake[2] = {-1, -1};
};

bool PtySimulator::Impl::Start() {
    if (m_thread.joinable()) {
        return true;
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_device.Open()) {
        return false;
    }
    if (pipe2(m_wake, O_CLOEXEC | O_NONBLOCK) != 0) {
        m_device.Close();
        return false;
    }
    m_stopping = false;
    m_thread = std::thread([this] { Serve(); });
    return true;
}

void PtySimulator::Impl::Stop() {
    if (m_thread.joinable()) {
        m_stopping = true;
        Wake();
        m_thread.join();
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    m_device.Close();
    for (int& fd : m_wake) {
        if (fd >= 0) {
            ::close(fd);
            fd = -1;
        }
    }
    m_schedule.Drop();
}

void PtySimulator::Impl::Wake() {
    if (m_wake[1] >= 0) {
        const char byte = 1;
        // A full pipe already guarantees a wake-up, so a failed write needs no handling.
        [[maybe_unused]] const ssize_t written = ::write(m_wake[1], &byte, 1);
    }
}

void PtySimulator::Impl::Serve() {
    // Paced bytes are released by timed waits. The kernel's default timer slack (50 us a wait)
    // would make every byte late and add about a millisecond to each exchange, a lateness a real
    // UART does not have; this thread asks for none.
#ifdef __linux__
    prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
#endif
    for (;;) {
        timespec timeout{};
        timespec* timeoutPtr = nullptr;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (!m_schedule.Empty()) {
                const std::int64_t waitUs =
                    std::max<std::int64_t>(0, m_schedule.NextDueUs() - NowUs());
                timeout.tv_sec = static_cast<time_t>(waitUs / 1000000);
                timeout.tv_nsec = static_cast<long>(waitUs % 1000000) * 1000;
                timeoutPtr = &timeout;
            }
        }
        pollfd fds[2] = {{m_device.MasterFd(), POLLIN, 0}, {m_wake[0], POLLIN, 0}};
        const int ready = ppoll(fds, 2, timeoutPtr, nullptr);
        if (m_stopping) {
            return;
        }
        if (ready < 0 && errno != EINTR) {
            return;  // the descriptors are gone; nothing sensible is left to serve
        }
        if (fds[1].revents & POLLIN) {
            char drain[64];
            while (::read(m_wake[0], drain, sizeof drain) > 0) {
            }
        }
        const bool readable = (fds[0].revents & POLLIN) != 0;
        const bool broken = (fds[0].revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
        if ((readable && !ReadFromClient()) || (!readable && broken)) {
            // Not expected while the slave is held open; back off rather than spin.
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        std::lock_guard<std::mutex> lock(m_mutex);
        WriteDueLocked(NowUs());
    }
}

bool PtySimulator::Impl::ReadFromClient() {
    char buffer[256];
    const ssize_t count = ::read(m_device.MasterFd(), buffer, sizeof buffer);
    if (count <= 0) {
        return count < 0 && (errno == EAGAIN || errno == EINTR);
    }
    std::vector<ExchangeRecord> records;
    CommandObserver observer;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        const std::int64_t nowUs = NowUs();
        for (ssize_t i = 0; i < count; ++i) {
            const std::int64_t arrivalUs = m_schedule.Arrival(nowUs);
            FeedResult result = m_engine.Feed(buffer[i], arrivalUs / 1000);
            if (result.newExchange) {
                m_schedule.Drop();
            }
            for (const Emission& emission : result.out) {
                m_schedule.Push(emission.bytes, arrivalUs, emission.delayMs);
            }
        }
        QueueStaleLocked(nowUs);
        records = m_engine.TakeRecords();
        observer = m_observer;
    }
    if (observer) {
        for (const ExchangeRecord& record : records) {
            observer(QString::fromLatin1(record.text), QString::fromLatin1(record.reply));
        }
    }
    return true;
}

void PtySimulator::Impl::QueueStaleLocked(std::int64_t nowUs) {
    const QByteArray stale = m_engine.TakeStaleBytes();
    if (!stale.isEmpty()) {
        m_schedule.Push(stale, nowUs, 0, /*paced=*/false);
    }
}

int PtySimulator::Impl::WriteDueLocked(std::int64_t nowUs) {
    const int fd = m_device.MasterFd();
    if (fd < 0) {
        return 0;
    }
    const QByteArray due = m_schedule.TakeDue(nowUs);
    qsizetype offset = 0;
    while (offset < due.size()) {
        const ssize_t written =
            ::write(fd, due.constData() + offset, static_cast<size_t>(due.size() - offset));
        if (written > 0) {
            offset += written;
        } else if (written < 0 && errno == EINTR) {
            continue;
        } else {
            // The terminal's buffer is full: nobody reads the device. The instrument's
            // transmitter does not wait for a listener either; the bytes are lost.
            break;
        }
    }
    return static_cast<int>(offset);
}

void PtySimulator::Impl::InjectFault(Fault fault) {
    int written = 0;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_engine.InjectFault(fault);
        const std::int64_t nowUs = NowUs();
        QueueStaleLocked(nowUs);
        written = WriteDueLocked(nowUs);
    }
    // Stale bytes must already sit in the client's input when this returns, so the client's
    // next exchange is sure to meet them.
    if (written > 0) {
        m_device.WaitUntilReadable(written, kStaleHandOverMs);
    }
}

void PtySimulator::Impl::ClearFaults() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_engine.ClearFaults();
}

void PtySimulator::Impl::RaiseError(int code) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_engine.Instrument().RaiseError(code, NowUs() / 1000);
}

void PtySimulator::Impl::SetLimiter(bool enabled) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_engine.Instrument().SetLimiter(enabled);
}

QStringList PtySimulator::Impl::CommandLog() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_engine.CommandLog();
}

void PtySimulator::Impl::ClearLog() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_engine.ClearLog();
}

void PtySimulator::Impl::SetObserver(CommandObserver observer) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_observer = std::move(observer);
    m_engine.SetRecording(static_cast<bool>(m_observer));
}

PtySimulator::PtySimulator(const SimOptions& options) : m_impl(std::make_unique<Impl>(options)) {}
PtySimulator::~PtySimulator() = default;
bool PtySimulator::Start() {
    return m_impl->Start();
}
void PtySimulator::Stop() {
    m_impl->Stop();
}
QString PtySimulator::DevicePath() const {
    return m_impl->DevicePath();
}
void PtySimulator::InjectFault(Fault fault) {
    m_impl->InjectFault(fault);
}
void PtySimulator::ClearFaults() {
    m_impl->ClearFaults();
}
void PtySimulator::RaiseError(int code) {
    m_impl->RaiseError(code);
}
void PtySimulator::SetLimiter(bool enabled) {
    m_impl->SetLimiter(enabled);
}
QStringList PtySimulator::CommandLog() const {
    return m_impl->CommandLog();
}
void PtySimulator::ClearLog() {
    m_impl->ClearLog();
}
void PtySimulator::SetCommandObserver(CommandObserver observer) {
    m_impl->SetObserver(std::move(observer));
}

}  // namespace zebsim

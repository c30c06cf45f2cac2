// Serial link benchmark: query exchanges against the simulator over a pseudo-terminal with
// 9600-baud pacing, and exchanges against a silent instrument. Prints key=value figures:
//   exchange_ms          mean time of one "QR" exchange
//   wire_ms              the same bytes at 9600 baud, 10 bits a byte
//   exchange_ratio       exchange_ms / wire_ms (target <= 1.10)
//   cpu_per_wall         client thread CPU time over wall time, successful exchanges (<= 0.05)
//   failed_exchange_ms   mean time of an exchange nobody answers (<= 1.05 x 500 ms)
//   failed_cpu_per_wall  the same ratio while waiting in vain (<= 0.05)

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>
#include <ctime>

#include "PtySimulator.h"
#include "ZebM40Cntl.h"

namespace {

constexpr int kExchanges = 500;
constexpr int kFailedExchanges = 5;
constexpr double kBitsPerByte = 10.0;
constexpr double kBaud = 9600.0;

// CPU time of the calling thread only: the simulator's own thread does not count.
double ThreadCpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec * 1000.0 + ts.tv_nsec / 1.0e6;
}

struct Figures {
    double meanMs = 0;
    double cpuPerWall = 0;
    int failures = 0;
};

template <typename Fn>
Figures Measure(int count, Fn&& exchange) {
    Figures f;
    QElapsedTimer wall;
    const double cpu0 = ThreadCpuMs();
    wall.start();
    for (int i = 0; i < count; ++i) {
        if (!exchange()) {
            ++f.failures;
        }
    }
    const double wallMs = static_cast<double>(wall.nsecsElapsed()) / 1.0e6;
    f.meanMs = wallMs / count;
    f.cpuPerWall = (ThreadCpuMs() - cpu0) / wallMs;
    return f;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    zebsim::SimOptions options;
    options.pacing9600 = true;
    zebsim::PtySimulator sim(options);
    if (!sim.Start()) {
        std::fprintf(stderr, "link_bench: no pseudo-terminal available\n");
        return 1;
    }
    qputenv("ZEB_SERIAL_PORTS", sim.DevicePath().toLocal8Bit());
    zeb::CZebM40Cntl cntl{zeb::SerialAccess::System()};
    if (!cntl.Connect()) {
        std::fprintf(stderr, "link_bench: the simulator did not answer\n");
        return 1;
    }
    quint32 type = 0;
    cntl.GetMachineType(type);
    const int replyLength = cntl.Protocol().GetReply().size();

    const Figures ok = Measure(kExchanges, [&] { return cntl.GetMachineType(type); });
    // ENQ, ACK, the query frame, the reply frame, ACK; each frame is text + 3 bytes.
    const int wireBytes = 1 + 1 + (2 + 3) + (replyLength + 3) + 1;
    const double wireMs = wireBytes * kBitsPerByte / kBaud * 1000.0;

    sim.InjectFault(zebsim::Fault::Silence);
    const Figures failed = Measure(kFailedExchanges, [&] { return cntl.GetMachineType(type); });
    sim.ClearFaults();

    std::printf("exchanges=%d\n", kExchanges);
    std::printf("exchange_failures=%d\n", ok.failures);
    std::printf("exchange_ms=%.3f\n", ok.meanMs);
    std::printf("wire_ms=%.3f\n", wireMs);
    std::printf("exchange_ratio=%.3f\n", ok.meanMs / wireMs);
    std::printf("cpu_per_wall=%.4f\n", ok.cpuPerWall);
    std::printf("failed_exchanges=%d\n", failed.failures);
    std::printf("failed_exchange_ms=%.1f\n", failed.meanMs);
    std::printf("failed_cpu_per_wall=%.4f\n", failed.cpuPerWall);
    return ok.failures == 0 && failed.failures == kFailedExchanges ? 0 : 1;
}

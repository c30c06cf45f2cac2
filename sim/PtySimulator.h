#pragma once
// The instrument simulator served on a pseudo-terminal. It runs on its own thread so that a
// client in the same process can block on its serial port exactly as it would on a real cable.
// It is our own implementation of the instrument side and never uses the client's link code,
// so a framing mistake cannot hide by being made the same way on both ends.
//
// Interface agreed between the simulator and its users (tests, benchmarks, zeb-sim, the
// program's --simulate option). Extend it; do not change what is here without updating them.

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace zebsim {

// What the instrument answers to "QA".
enum class Identity {
    FirstHardware,  // "BRAKMOOR, ZEB-M4 ..."   -> identification 0x101, hardware version 0
    LaterHardware,  // "BRAKMOOR, ZEB-M4-1 ..." -> 0x102, hardware version 1
    Series50,       // "BRAKMOOR, ZEB-M5 ..."   -> 0x202, hardware version 1
    Unrecognised,   // some other device's text: the client must skip this port
};

struct SimOptions {
    Identity identity = Identity::LaterHardware;
    QString identityText;     // when not empty, replaces the text chosen by identity
    int machineType = 5;      // the nibble "QR" reports, 0 to 15
    bool pacing9600 = false;  // every byte, either direction, takes its 1.04 ms on the line
    double timeScale = 1.0;   // > 1 runs the instrument clock faster (tests)
    bool limiter6kV = false;  // "QP" reports the 6 kV limiter bit (0x0008)
    // After "CB" on a running step the instrument stays running and busy this long (instrument
    // milliseconds) before it reports the step stopped, as a real one winding down may. 0: at once.
    int stopBusyMs = 0;
};

// Faults on demand. Each applies to the next exchange only, except Silence, which lasts until
// ClearFaults() (a cable pulled out and plugged back in).
enum class Fault {
    NoAck,             // ENQ is not acknowledged
    WrongBcc,          // the reply frame carries a wrong BCC
    GarbageBeforeStx,  // the reply frame starts with a byte that is not STX
    Silence,           // nothing is answered at all
    SlowByte,          // one byte of the reply comes later than 500 ms after the one before
    StaleBytes,        // unasked bytes are waiting in the client's input before its next ENQ
};

class PtySimulator {
public:
    explicit PtySimulator(const SimOptions& options = {});
    ~PtySimulator();  // stops the thread and closes the pty (the device vanishes)
    PtySimulator(const PtySimulator&) = delete;
    PtySimulator& operator=(const PtySimulator&) = delete;

    // Opens the pseudo-terminal and starts serving it. False when no pty could be had.
    bool Start();
    // Stops serving and closes the master side: to the client the device has vanished.
    void Stop();
    // Path of the device the client opens (empty before Start): a name of this simulator's own
    // in the temporary folder, e.g. /tmp/zeb-sim-Ab12Cd/instrument, linked to the terminal.
    QString DevicePath() const;

    void InjectFault(Fault fault);
    void ClearFaults();
    // Latches an instrument error: error bit 0x20, a running step stops (a normal end already
    // reached stays reported), "QQ" returns the code until "PQ0".
    void RaiseError(int code);
    void SetLimiter(bool enabled);

    // Every command and query text received in a well-formed frame, in order.
    QStringList CommandLog() const;
    void ClearLog();

    // Called on the simulator's thread for every well-formed frame received, with the reply
    // text sent back (empty for a command). Set it before Start(); used for live logs.
    using CommandObserver = std::function<void(const QString& text, const QString& reply)>;
    void SetCommandObserver(CommandObserver observer);

private:
    class Impl;
    std::unique_ptr<Impl> m_impl;
};

}  // namespace zebsim

#pragma once
// A pseudo-terminal pair standing in for the instrument's serial socket. The simulator keeps
// the master; the client opens the slave by its path like any serial device. The simulator
// also holds the slave open itself, so the master does not report a hang-up (and wake poll()
// over and over) while no client has the device open.

#include <QString>

namespace zebsim {

class PtyDevice {
public:
    PtyDevice() = default;
    ~PtyDevice() { Close(); }
    PtyDevice(const PtyDevice&) = delete;
    PtyDevice& operator=(const PtyDevice&) = delete;

    // Opens the pair in raw mode at 9600 baud; the master is non-blocking. On failure
    // nothing stays open and ErrorText() says why.
    bool Open();
    void Close();

    int MasterFd() const { return m_master; }
    // Waits (sleeping, up to timeoutMs) until at least count bytes written to the master can be
    // read on the slave side: the terminal layer hands them over asynchronously.
    bool WaitUntilReadable(int count, int timeoutMs) const;
    QString SlavePath() const { return m_slavePath; }
    QString ErrorText() const { return m_error; }

private:
    bool Fail(const char* what);

    int m_master = -1;
    int m_slave = -1;
    QString m_slavePath;
    QString m_error;
};

}  // namespace zebsim

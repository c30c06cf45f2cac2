#pragma once
// A pseudo-terminal pair standing in for the instrument's serial socket. The simulator keeps
// the master; the client opens the slave by its path like any serial device. The simulator
// also holds the slave open itself, so the master does not report a hang-up (and wake poll()
// over and over) while no client has the device open.
//
// The client is given a name of this device's own rather than the kernel's /dev/pts/N: a
// symbolic link in a fresh private folder. The kernel hands the numbers of closed terminals out
// again, and a serial client keeps a lock file named after the device for as long as it holds
// it. A client that was killed leaves its lock file behind, and when it ran under another
// account (root) nobody else may remove it; the next terminal with that number could then not
// be opened by an ordinary user. A name never used before has no such file waiting for it.

#include <QString>

#include <memory>

class QTemporaryDir;

namespace zebsim {

class PtyDevice {
public:
    PtyDevice();
    ~PtyDevice();
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
    // The kernel's name of the slave, e.g. /dev/pts/7.
    QString SlavePath() const { return m_slavePath; }
    // The name the client opens: a link to the slave, unique to this opening (empty when the
    // pair is not open). It disappears with Close().
    QString ClientPath() const { return m_clientPath; }
    QString ErrorText() const { return m_error; }

private:
    bool Fail(const char* what);
    bool MakeClientPath();

    int m_master = -1;
    int m_slave = -1;
    QString m_slavePath;
    QString m_clientPath;
    std::unique_ptr<QTemporaryDir> m_folder;
    QString m_error;
};

}  // namespace zebsim

#pragma once
// What the connection dialog shows and does, without the window: whether a port is open, the
// model the program works with, the once-a-second watch of the link and the reconnect button.
// The dialog renders Text()/ModelName() and forwards its timer ticks and the button.

#include <QString>

namespace zeb {

class CZebM40Cntl;
struct CurrentMachine;

class CRemoteMonitor {
public:
    // Period of the watch, in milliseconds.
    static constexpr int kTickMs = 1000;

    CRemoteMonitor(CZebM40Cntl& cntl, CurrentMachine& machine);

    // One tick of the watch. Without an open port a scan is made, and an instrument found
    // there fixes the program's machine type and hardware version anew. With a port open the
    // instrument is asked who it is; when it stays silent the ports are scanned again. The
    // caller stops its timer around this call, so a slow scan cannot pile up ticks.
    void Tick();
    // Closes the port and scans again. The machine type stays as it is.
    void Reconnect();

    // "Connect" while a port is open, "None" otherwise (as last shown).
    const QString& LinkText() const { return m_linkText; }
    // Model name of the program's machine type ("ZEB-M40?? / ZEB-M50??" when none is known).
    const QString& ModelName() const { return m_modelName; }

private:
    void ShowLink(bool connected);
    void ShowModel();

    CZebM40Cntl& m_cntl;
    CurrentMachine& m_machine;
    QString m_linkText;
    QString m_modelName;
};

}  // namespace zeb

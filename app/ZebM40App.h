#pragma once
// The application object: owns, for the whole run, the instrument controller, the test
// environment record, the program's machine type, the documents and the main window, and
// carries out start-up and exit in their fixed order.

#include <QString>

#include <functional>
#include <memory>

#include "CommandLine.h"
#include "CurrentMachine.h"
#include "ExchangeLog.h"
#include "SingleInstance.h"
#include "StartupSequence.h"
#include "TestProperty.h"

class QSettings;

namespace zebsim {
class PtySimulator;
}

namespace zeb {

class CDocManager;
class CMainFrame;
class CRecentFileList;
class CZebM40Cntl;

// What a test may change about start-up; the program uses the defaults.
struct AppEnvironment {
    QString lockFolder;       // single-instance lock; the temporary folder when empty
    QString recentFilesPath;  // settings file of the recent-file list; the user's when empty
    int openingMs = 2000;     // shortest time the opening dialog stays
    bool showWindows = true;  // false: nothing is shown (tests drive the frame directly)
    MachineSelection select;  // the machine selection; the dialog when empty
    // The instrument `--simulate` stands in for: how much faster than real time its clock runs,
    // and whether every byte takes its 1.04 ms as on a 9600-baud cable. Tests run it fast; the
    // program keeps the instrument's own pace.
    double simTimeScale = 1.0;
    bool simPacing9600 = true;
};

class CZebM40App {
public:
    // Starts the simulator when asked, then the controller, which scans the serial ports.
    explicit CZebM40App(const AppOptions& options, AppEnvironment environment = {});
    ~CZebM40App();

    // The start-up sequence; false ends the program (second instance, exit chosen, the named
    // file could not be opened).
    bool InitInstance();
    // Stops the instrument and switches the EUT line off, then lets go of the instance lock.
    void ExitInstance();

    CZebM40Cntl& Cntl() { return *m_cntl; }
    CExchangeLog& ExchangeLog() { return m_exchangeLog; }
    CTestProperty& TestProperty() { return m_testProperty; }
    CurrentMachine& Machine() { return m_machine; }
    CMainFrame* MainFrame() { return m_mainFrame.get(); }
    CDocManager& Documents() { return *m_docs; }
    bool Simulated() const { return m_sim != nullptr; }
    qint64 OpeningShownMs() const { return m_nOpeningShownMs; }

private:
    int SelectMachine(quint32& chosen);

    AppOptions m_options;
    AppEnvironment m_env;
    std::unique_ptr<zebsim::PtySimulator> m_sim;
    // Declared before the controller, which reports to it until the controller is gone.
    CExchangeLog m_exchangeLog;
    std::unique_ptr<CZebM40Cntl> m_cntl;
    CTestProperty m_testProperty;
    CurrentMachine m_machine;
    CSingleInstance m_instance;
    std::unique_ptr<QSettings> m_settings;
    std::unique_ptr<CRecentFileList> m_recent;
    std::unique_ptr<CDocManager> m_docs;
    std::unique_ptr<CMainFrame> m_mainFrame;
    qint64 m_nOpeningShownMs = 0;
};

}  // namespace zeb

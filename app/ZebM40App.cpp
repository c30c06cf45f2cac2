#include "ZebM40App.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSettings>

#include "DocManager.h"
#include "MainFrame.h"
#include "MessageSeam.h"
#include "OpeningDlg.h"
#include "PortAccess.h"
#include "PortTable.h"
#include "PtySimulator.h"
#include "RecentFiles.h"
#include "TypeSelectDlg.h"
#include "ZebM40Cntl.h"

namespace zeb {

namespace {
// Starts the in-process simulator and puts its device first in the port table, so the scan
// finds it the way it finds an instrument on a cable.
std::unique_ptr<zebsim::PtySimulator> StartSimulator(int machineType, const AppEnvironment& env) {
    zebsim::SimOptions sim;
    sim.machineType = machineType;
    sim.pacing9600 = env.simPacing9600;
    sim.timeScale = env.simTimeScale;
    auto simulator = std::make_unique<zebsim::PtySimulator>(sim);
    if (!simulator->Start()) {
        ShowMessage(QStringLiteral("The instrument simulator could not be started."),
                    MsgButtons::Ok, MsgIcon::Error);
        return nullptr;
    }
    QStringList table = SystemPortTable();
    table.prepend(simulator->DevicePath());
#ifdef Q_OS_WIN
    const QChar separator = QLatin1Char(';');
#else
    const QChar separator = QLatin1Char(':');
#endif
    qputenv("ZEB_SERIAL_PORTS", table.join(separator).toLocal8Bit());
    return simulator;
}
}  // namespace

CZebM40App::CZebM40App(const AppOptions& options, AppEnvironment environment)
    : m_options(options), m_env(std::move(environment)), m_instance(m_env.lockFolder) {
    if (m_options.simulate) {
        m_sim = StartSimulator(m_options.simulatedType, m_env);
    }
    // The communication log hears the whole run, the port scan at start-up included, so a
    // service engineer can see why an instrument was or was not found.
    m_cntl = std::make_unique<CZebM40Cntl>(SerialAccess::System());
    m_cntl->Protocol().SetObserver(&m_exchangeLog);
    m_cntl->Connect();
    m_settings =
        m_env.recentFilesPath.isEmpty()
            ? std::make_unique<QSettings>(QStringLiteral("Brakmoor"), QStringLiteral("ZEB"))
            : std::make_unique<QSettings>(m_env.recentFilesPath, QSettings::IniFormat);
    m_recent = std::make_unique<CRecentFileList>(*m_settings);
    m_docs = std::make_unique<CDocManager>(m_machine, *m_recent);
}

CZebM40App::~CZebM40App() {
    m_mainFrame.reset();
}

int CZebM40App::SelectMachine(quint32& chosen) {
    if (m_env.select) {
        return m_env.select(chosen);
    }
    // Only the devices the scan could not open are named, with what keeps the user from each.
    CTypeSelectDlg dlg(PortAccessProblems(m_cntl->UnopenedDevices()));
    // The busy cursor of start-up covers every window here; the operator's choice is awaited,
    // so the dialog gets the normal cursor while it is open.
    const bool busy = QApplication::overrideCursor() != nullptr;
    if (busy) {
        QApplication::restoreOverrideCursor();
    }
    dlg.exec();
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    chosen = dlg.ChosenType();
    return dlg.Result();
}

bool CZebM40App::InitInstance() {
    if (!m_instance.TryAcquire()) {
        ShowMessage(QStringLiteral("The application has been activated."), MsgButtons::Ok,
                    MsgIcon::Information);
        return false;
    }

    std::unique_ptr<COpeningDlg> opening;
    QElapsedTimer shown;
    shown.start();
    if (m_env.showWindows) {
        opening = std::make_unique<COpeningDlg>();
        opening->show();
        QApplication::processEvents();
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }

    MainFrameServices services{*m_docs, *m_cntl, m_testProperty, m_machine, Simulated()};
    services.exchangeLog = &m_exchangeLog;
    m_mainFrame = std::make_unique<CMainFrame>(services);

    WaitAtLeast(shown, m_env.openingMs, [] { QApplication::processEvents(); });
    m_nOpeningShownMs = shown.elapsed();
    opening.reset();

    const int result = FixMachineType(*m_cntl, m_machine,
                                      [this](quint32& chosen) { return SelectMachine(chosen); });
    if (m_env.showWindows) {
        QApplication::restoreOverrideCursor();
    }
    if (result == typeselect::kExit) {
        m_mainFrame.reset();
        return false;
    }
    m_mainFrame->RefreshConnection();

    m_testProperty.LoadFromIni();

    if (m_options.file.isEmpty()) {
        if (!m_mainFrame->OnFileNew()) {
            return false;
        }
    } else {
        // A document that is refused (another machine type, unreadable) has been explained
        // by its message; the program stays open without a document, as after File > Open.
        m_mainFrame->OpenFile(m_options.file);
    }
    if (m_env.showWindows) {
        m_mainFrame->showMaximized();
    }
    return true;
}

void CZebM40App::ExitInstance() {
    // Leave the instrument safe: stop a running test and switch the EUT line off. Without an
    // instrument both simply fail.
    if (m_cntl->IsConnected()) {
        m_cntl->MakeSafe();
    }
    m_mainFrame.reset();
    m_instance.Release();
}

}  // namespace zeb

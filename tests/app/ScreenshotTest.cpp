// Renders every window of the program to PNG files for review when ZEB_SCREENSHOT_DIR names a
// folder; skipped otherwise.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QMdiArea>

#include "AboutDlg.h"
#include "AppFixture.h"
#include "ChildFrame.h"
#include "MainFrame.h"
#include "OpeningDlg.h"
#include "PropertyDlg.h"
#include "RemoteDlg.h"
#include "SettingsDoc.h"
#include "TestInfoDlg.h"
#include "TypeSelectDlg.h"
#include "ZebM40Cntl.h"
#include "ZebM40SettingsView.h"

namespace zeb {
namespace {

class Screenshots : public test::AppFixture {};

void Save(QWidget& w, const QDir& dir, const char* name) {
    w.show();
    QApplication::processEvents();
    EXPECT_TRUE(w.grab().save(dir.filePath(QLatin1String(name))));
}

TEST_F(Screenshots, EveryWindow) {
    const QString folder = qEnvironmentVariable("ZEB_SCREENSHOT_DIR");
    if (folder.isEmpty()) {
        GTEST_SKIP() << "set ZEB_SCREENSHOT_DIR to render the windows";
    }
    QDir dir(folder);
    dir.mkpath(QStringLiteral("."));
    zebsim::SimOptions sim;
    sim.machineType = 5;
    AddSim(sim);
    auto app = MakeApp();
    ASSERT_TRUE(app->InitInstance());
    CMainFrame* frame = app->MainFrame();
    frame->resize(1280, 860);
    frame->ActiveChild()->showMaximized();
    Save(*frame, dir, "main.png");

    CZebM40SettingsDoc ring;
    ring.OnNewDocument(5, 1);
    auto& port = ring.Record().m_outOutput.m_aopOutputPort[0];
    port.m_nWaveform = 2;
    port.m_nSync = 1;
    port.m_nOutputDetail = 3;
    port.m_aulInjRetBit[3] = 0x1003;
    ring.Record().m_ulPola = 3;
    ring.ApplyRecord(ring.Record());
    CZebM40SettingsView view(ring, app->Cntl(), app->TestProperty());
    view.resize(760, 600);
    view.OnInitialUpdate();
    Save(view, dir, "summary.png");

    app->TestProperty().LoadFromIni();
    CTestInfoDlg info(app->TestProperty());
    Save(info, dir, "testinfo.png");
    CPropertyDlg options(app->TestProperty());
    Save(options, dir, "options.png");
    CTypeSelectDlg select(
        QStringLiteral("Permission denied: /dev/ttyUSB0 belongs to group "
                       "dialout; add your user to it and log in again."));
    Save(select, dir, "typeselect.png");
    COpeningDlg opening;
    Save(opening, dir, "opening.png");
    CAboutDlg about;
    Save(about, dir, "about.png");
    CRemoteDlg remote(app->Cntl(), app->Machine());
    Save(remote, dir, "remote.png");
}

}  // namespace
}  // namespace zeb

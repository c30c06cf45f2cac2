// Start-up and exit of the program: one instance only, the machine type fixed from the
// instrument or by the operator's choice (with retry), the opening dialog's minimum time, and
// the instrument left safe at exit.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include "AppFixture.h"
#include "CommandLine.h"
#include "DocManager.h"
#include "FirstPaint.h"
#include "IniFile.h"
#include "MainFrame.h"
#include "MessageBoxSink.h"
#include "SettingsDoc.h"
#include "SingleInstance.h"
#include "StartupSequence.h"
#include "TypeSelectRules.h"
#include "ZebM40Cntl.h"

namespace zeb {
namespace {

using test::AppFixture;

TEST(SingleInstance, SecondHolderIsRefusedUntilTheFirstLetsGo) {
    QTemporaryDir dir;
    CSingleInstance first(dir.path());
    CSingleInstance second(dir.path());
    EXPECT_TRUE(first.TryAcquire());
    EXPECT_TRUE(
        QFileInfo(first.LockPath()).fileName().startsWith(QStringLiteral("ZEB-M40_Instance")));
    EXPECT_FALSE(second.TryAcquire());
    first.Release();
    EXPECT_TRUE(second.TryAcquire());
}

TEST(SingleInstance, LockOfAProgramThatNoLongerRunsIsTakenOver) {
    QTemporaryDir dir;
    CSingleInstance instance(dir.path());
    QFile stale(instance.LockPath());
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    // Process id, program name and host, as a crashed program leaves them; no such process.
    stale.write("4194300\nzeb\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    stale.close();
    EXPECT_TRUE(instance.TryAcquire());
}

TEST(WaitAtLeast, KeepsHandlingEventsUntilTheTimeIsUp) {
    QElapsedTimer shown;
    shown.start();
    int pumps = 0;
    WaitAtLeast(shown, 250, [&] { ++pumps; });
    EXPECT_GE(shown.elapsed(), 250);
    EXPECT_GE(pumps, 2);
}

TEST(FirstPaint, ReportsOnceAfterTheFirstPaintAndNeverForAWindowGoneBefore) {
    int calls = 0;
    QWidget window;
    window.resize(200, 100);
    AfterFirstPaint(window, [&] { ++calls; });
    QApplication::processEvents();
    EXPECT_EQ(calls, 0);  // not shown yet
    window.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return calls == 1; }, 5000));
    window.update();
    QTest::qWait(50);
    EXPECT_EQ(calls, 1);

    int gone = 0;
    auto brief = std::make_unique<QWidget>();
    AfterFirstPaint(*brief, [&] { ++gone; });
    brief->show();
    brief->repaint();
    brief.reset();
    QTest::qWait(50);
    EXPECT_EQ(gone, 0);
}

class MachineTypeTest : public AppFixture {};

TEST_F(MachineTypeTest, InstrumentTypeIsStoredAndGivenToNewDocuments) {
    zebsim::SimOptions sim;
    sim.machineType = 13;
    AddSim(sim);
    auto app = MakeApp();
    ASSERT_TRUE(app->InitInstance());
    EXPECT_EQ(selections, 0);
    EXPECT_EQ(app->Machine().m_ulCurrentMachineType, 13u);
    EXPECT_EQ(app->Machine().m_nCurrentHWVersion, 1);
    EXPECT_EQ(StoredMachineTypeText(), QStringLiteral("13"));
    ASSERT_EQ(app->Documents().Documents().size(), 1u);
    EXPECT_EQ(app->Documents().Documents()[0]->Record().m_ulMachineType, 13u);
}

TEST_F(MachineTypeTest, WithoutInstrumentTheChosenModelIsTaken) {
    UsePorts();
    auto app = MakeApp(typeselect::kStart, 12);
    ASSERT_TRUE(app->InitInstance());
    EXPECT_EQ(selections, 1);
    EXPECT_EQ(app->Machine().m_ulCurrentMachineType, 12u);
    EXPECT_EQ(app->Documents().Documents()[0]->Record().m_ulMachineType, 12u);
}

TEST_F(MachineTypeTest, RetryFindsAnInstrumentConnectedMeanwhile) {
    UsePorts();
    CZebM40Cntl cntl;
    ASSERT_FALSE(cntl.IsConnected());
    CurrentMachine machine;
    int shown = 0;
    const int result = FixMachineType(cntl, machine, [&](quint32&) {
        ++shown;
        zebsim::SimOptions sim;
        sim.machineType = 9;
        sim.identity = zebsim::Identity::Series50;
        AddSim(sim);
        return typeselect::kRetry;
    });
    EXPECT_EQ(result, typeselect::kStart);
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(machine.m_ulCurrentMachineType, 9u);
    EXPECT_EQ(machine.m_nCurrentHWVersion, 1);
    EXPECT_EQ(StoredMachineTypeText(), QStringLiteral("9"));
}

TEST_F(MachineTypeTest, RetryWithoutInstrumentAsksAgainUntilExit) {
    UsePorts();
    CZebM40Cntl cntl;
    CurrentMachine machine;
    std::vector<int> answers{typeselect::kRetry, typeselect::kRetry, typeselect::kExit};
    size_t next = 0;
    const int result = FixMachineType(cntl, machine, [&](quint32&) { return answers[next++]; });
    EXPECT_EQ(result, typeselect::kExit);
    EXPECT_EQ(next, 3u);
    EXPECT_EQ(machine.m_ulCurrentMachineType, kNoMachineType);
}

TEST_F(MachineTypeTest, ExitEndsTheProgramBeforeAnyDocument) {
    UsePorts();
    auto app = MakeApp(typeselect::kExit);
    EXPECT_FALSE(app->InitInstance());
    EXPECT_TRUE(app->Documents().Documents().empty());
    EXPECT_EQ(app->MainFrame(), nullptr);
}

TEST_F(MachineTypeTest, SecondStartIsToldAndEnds) {
    UsePorts();
    auto first = MakeApp();
    ASSERT_TRUE(first->InitInstance());
    auto second = MakeApp();
    sink.Expect(QStringLiteral("The application has been activated."));
    EXPECT_FALSE(second->InitInstance());
    EXPECT_TRUE(second->Documents().Documents().empty());
}

TEST_F(MachineTypeTest, OpeningDialogStaysTwoSecondsAndExitLeavesTheInstrumentSafe) {
    zebsim::PtySimulator& sim = AddSim();
    AppEnvironment env;
    env.lockFolder = dir.path();
    env.recentFilesPath = dir.filePath(QStringLiteral("recent.ini"));
    CZebM40App app(AppOptions{}, env);
    ASSERT_TRUE(app.InitInstance());
    EXPECT_GE(app.OpeningShownMs(), 2000);
    sim.ClearLog();
    app.ExitInstance();
    EXPECT_EQ(sim.CommandLog(), (QStringList{QStringLiteral("CB"), QStringLiteral("CD")}));
}

TEST_F(MachineTypeTest, NamedFileIsOpenedAndARefusedOneLeavesTheProgramWithoutDocument) {
    UsePorts();
    const QString path = dir.filePath(QStringLiteral("a.zms"));
    {
        CZebM40SettingsDoc doc;
        ASSERT_TRUE(doc.OnNewDocument(5, 1));
        ASSERT_TRUE(doc.OnSaveDocument(path));
    }
    auto app = MakeApp(typeselect::kStart, 5, path);
    ASSERT_TRUE(app->InitInstance());
    ASSERT_EQ(app->Documents().Documents().size(), 1u);
    EXPECT_EQ(app->Documents().Documents()[0]->PathName(), path);
    app->ExitInstance();

    // A refused document leaves the program open without one, as a refused File > Open does.
    auto broken = MakeApp(typeselect::kStart, 5, dir.filePath(QStringLiteral("none.zms")));
    sink.ExpectAny();
    ASSERT_TRUE(broken->InitInstance());
    EXPECT_TRUE(broken->Documents().Documents().empty());
    ASSERT_NE(broken->MainFrame(), nullptr);
    broken->ExitInstance();

    auto other = MakeApp(typeselect::kStart, 12, path);
    sink.Expect(QStringLiteral("This data is for a type different from the connected machine."));
    ASSERT_TRUE(other->InitInstance());
    EXPECT_TRUE(other->Documents().Documents().empty());
    ASSERT_NE(other->MainFrame(), nullptr);
    EXPECT_EQ(other->MainFrame()->ActiveChild(), nullptr);
    other->ExitInstance();
}

TEST_F(MachineTypeTest, SimulatedInstrumentIsFoundFirstAndNamedAsSuch) {
    UsePorts();
    AppEnvironment env;
    env.lockFolder = dir.path();
    env.recentFilesPath = dir.filePath(QStringLiteral("recent.ini"));
    env.openingMs = 0;
    env.showWindows = false;
    AppOptions options;
    options.simulate = true;
    options.simulatedType = 13;
    CZebM40App app(options, env);
    ASSERT_TRUE(app.InitInstance());
    EXPECT_TRUE(app.Simulated());
    EXPECT_EQ(app.Cntl().PortNo(), 1);
    EXPECT_EQ(app.Machine().m_ulCurrentMachineType, 13u);
    EXPECT_TRUE(app.MainFrame()->windowTitle().contains(QStringLiteral("(simulated instrument)")));
    EXPECT_TRUE(app.MainFrame()->ConnectionLabel()->text().startsWith(
        QStringLiteral("ZEB-M40C3-ED3 / ZEB-M50C3 on COM1 (")));
    EXPECT_TRUE(app.MainFrame()->ConnectionLabel()->text().endsWith(QStringLiteral(", simulated")));
    app.ExitInstance();
}

TEST(CommandLine, SimulateFileAndMistakes) {
    AppOptions o = ParseCommandLine({QStringLiteral("--simulate=13"), QStringLiteral("x.zms")});
    EXPECT_TRUE(o.simulate);
    EXPECT_EQ(o.simulatedType, 13);
    EXPECT_EQ(o.file, QStringLiteral("x.zms"));
    EXPECT_TRUE(ParseCommandLine({QStringLiteral("--simulate")}).simulate);
    EXPECT_EQ(ParseCommandLine({QStringLiteral("--simulate=0xd")}).simulatedType, 13);
    EXPECT_FALSE(ParseCommandLine({QStringLiteral("--simulate=16")}).error.isEmpty());
    EXPECT_FALSE(ParseCommandLine({QStringLiteral("--simulate=c3")}).error.isEmpty());
    EXPECT_FALSE(ParseCommandLine({QStringLiteral("--bogus")}).error.isEmpty());
    EXPECT_FALSE(ParseCommandLine({QStringLiteral("a"), QStringLiteral("b")}).error.isEmpty());
}

TEST(MessageBoxSink, BoxCarriesTheProgramsNameAndGivesBackTheAnswer) {
    CMessageBoxSink sink;
    QString caption;
    int buttons = 0;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            caption = box->windowTitle();
            buttons = static_cast<int>(box->buttons().size());
            box->button(QMessageBox::Cancel)->click();
        }
    });
    EXPECT_EQ(sink.Show(QStringLiteral("Save?"), MsgButtons::OkCancel, MsgIcon::Question),
              MsgAnswer::Cancel);
    EXPECT_EQ(caption, QStringLiteral("ZEB"));
    EXPECT_EQ(buttons, 2);
}

class ConnectionText : public test::SimFixture {};

TEST_F(ConnectionText, NamesModelPortAndDevice) {
    zebsim::PtySimulator& sim = AddSim();
    CZebM40Cntl cntl;
    ASSERT_TRUE(cntl.IsConnected());
    EXPECT_EQ(ConnectionStatusText(cntl, 5, false),
              QStringLiteral("ZEB-M40C3 on COM1 (%1)").arg(sim.DevicePath()));
    EXPECT_TRUE(ConnectionStatusText(cntl, 5, true).endsWith(QStringLiteral(", simulated")));
    sim.Stop();
    cntl.Protocol().Port().ClosePort();
    EXPECT_EQ(ConnectionStatusText(cntl, 5, true), QStringLiteral("No instrument"));
}

}  // namespace
}  // namespace zeb

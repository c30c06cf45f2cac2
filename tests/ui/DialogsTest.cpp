// The test environment, options, machine selection and connection dialogs: what reaches the
// record and the INI file, which model is preselected, and how the connection display follows
// an instrument that vanishes and comes back.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <unistd.h>

#include "../e2e/SimFixture.h"
#include "AboutDlg.h"
#include "CurrentMachine.h"
#include "IniFile.h"
#include "OpeningDlg.h"
#include "PortAccess.h"
#include "PropertyDlg.h"
#include "RemoteDlg.h"
#include "RemoteMonitor.h"
#include "ScriptedMessageSink.h"
#include "TempConfigHome.h"
#include "TestInfoDlg.h"
#include "TestInfoFields.h"
#include "TestProperty.h"
#include "TypeSelectDlg.h"
#include "Version.h"

namespace zeb {
namespace {

QString TestInfoIni(const char* key) {
    return ReadIniString(QStringLiteral("INI_SECTION_TEST_INFO"), QLatin1String(key),
                         QStringLiteral("<missing>"));
}

TEST(TestInfoDlg, BeforeTheFirstTestTheMomentIsDashes) {
    test::TempConfigHome home;
    CTestProperty property;
    property.LoadFromIni();
    CTestInfoDlg dlg(property);
    EXPECT_EQ(dlg.DateEdit()->text(), QStringLiteral("----"));
    EXPECT_EQ(dlg.TimeEdit()->text(), QStringLiteral("----"));
    EXPECT_TRUE(dlg.DateEdit()->isReadOnly());
    EXPECT_EQ(dlg.FieldEdit(6)->text(), QStringLiteral("IEC61000-4-5"));
}

TEST(TestInfoDlg, SaveThenCancelKeepsWhatWasSaved) {
    test::TempConfigHome home;
    test::ScriptedMessageSink sink;
    CTestProperty property;
    property.LoadFromIni();
    {
        CTestInfoDlg dlg(property);
        dlg.FieldEdit(0)->setText(QStringLiteral("23 deg.C"));
        dlg.FieldEdit(10)->setText(QStringLiteral("Lot"));
        sink.Expect(QStringLiteral("Save?"), MsgAnswer::Ok);
        dlg.SaveButton()->click();
        EXPECT_TRUE(dlg.isVisible() || !dlg.result());  // Save does not close the dialog
        dlg.FieldEdit(0)->setText(QStringLiteral("99 deg.C"));
        dlg.reject();
    }
    EXPECT_EQ(property.m_strTemperature, QStringLiteral("23 deg.C"));
    EXPECT_EQ(property.m_strFreeInput1Title, QStringLiteral("Lot"));
    EXPECT_EQ(TestInfoIni("INI_KEY_TEMPERATURE"), QStringLiteral("23 deg.C"));
    // Save writes every field, unchanged ones included.
    EXPECT_EQ(TestInfoIni("INI_KEY_FREE_INPUT2"), QStringLiteral("________"));
}

TEST(TestInfoDlg, OkTakesTheTextsWithoutWritingAndCancelledSaveDoesNothing) {
    test::TempConfigHome home;
    test::ScriptedMessageSink sink;
    CTestProperty property;
    property.LoadFromIni();
    CTestInfoDlg dlg(property);
    dlg.FieldEdit(5)->setText(QStringLiteral("Kim"));
    sink.Expect(QStringLiteral("Save?"), MsgAnswer::Cancel);
    dlg.SaveButton()->click();
    EXPECT_EQ(property.m_strOperator, QStringLiteral("________"));
    dlg.accept();
    EXPECT_EQ(property.m_strOperator, QStringLiteral("Kim"));
    EXPECT_EQ(TestInfoIni("INI_KEY_OPERATOR"), QStringLiteral("<missing>"));
}

TEST(TestInfoFields, SaveWritesTheFourteenKeysInOrder) {
    test::TempConfigHome home;
    CTestProperty property;
    TestInfoTexts texts;
    for (int i = 0; i < kTestInfoFieldCount; ++i) {
        texts[i] = QStringLiteral("v%1").arg(i);
    }
    SaveTestInfo(property, texts);
    QFile ini(IniFilePath());
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    const QString content = QString::fromUtf8(ini.readAll());
    int last = -1;
    for (const TestInfoField& f : TestInfoFieldTable()) {
        const int at = content.indexOf(QLatin1String(f.key) + QLatin1Char('='));
        EXPECT_GT(at, last) << f.key;
        last = at;
    }
    EXPECT_EQ(property.m_strFreeInput2, QStringLiteral("v13"));
    EXPECT_EQ(property.m_strTemperature, QStringLiteral("v0"));
}

TEST(PropertyDlg, OkStoresAndCancelDrops) {
    test::TempConfigHome home;
    CTestProperty property;
    {
        CPropertyDlg dlg(property);
        dlg.CompanyEdit()->setText(QStringLiteral("Lab"));
        dlg.reject();
    }
    EXPECT_TRUE(property.m_strCompanyName.isEmpty());
    CPropertyDlg dlg(property);
    dlg.CompanyEdit()->setText(QStringLiteral("Lab"));
    dlg.PlaceEdit()->setText(QStringLiteral("Hall 2"));
    dlg.accept();
    EXPECT_EQ(property.m_strTestPlace, QStringLiteral("Hall 2"));
    EXPECT_EQ(ReadIniString(QStringLiteral("INI_SECTION_PROPERTY"),
                            QStringLiteral("INI_KEY_COMPANY_NAME"), QString()),
              QStringLiteral("Lab"));
}

TEST(PropertyDlg, ReportOptionsGoToTheirKeysAndBrowseFillsTheLogo) {
    test::TempConfigHome home;
    CTestProperty property;
    CPropertyDlg dlg(property);
    dlg.AddressEdit()->setText(QStringLiteral("12 Quarry Lane"));
    dlg.PrefixEdit()->setText(QStringLiteral("NEL"));
    dlg.SetLogoAsker([] { return QStringLiteral("/lab/logo.svg"); });
    dlg.BrowseButton()->click();
    EXPECT_EQ(dlg.LogoEdit()->text(), QStringLiteral("/lab/logo.svg"));
    dlg.SetLogoAsker([] { return QString(); });  // cancelled: the path stays
    dlg.BrowseButton()->click();
    EXPECT_EQ(dlg.LogoEdit()->text(), QStringLiteral("/lab/logo.svg"));
    EXPECT_EQ(dlg.LogoEdit()->accessibleName(), QStringLiteral("Logo"));
    dlg.accept();
    const auto stored = [](const char* key) {
        return ReadIniString(QStringLiteral("INI_SECTION_PROPERTY"), QLatin1String(key),
                             QStringLiteral("<missing>"));
    };
    EXPECT_EQ(stored("INI_KEY_LAB_ADDRESS"), QStringLiteral("12 Quarry Lane"));
    EXPECT_EQ(stored("INI_KEY_LAB_LOGO"), QStringLiteral("/lab/logo.svg"));
    EXPECT_EQ(stored("INI_KEY_REPORT_PREFIX"), QStringLiteral("NEL"));
    EXPECT_EQ(property.m_strReportPrefix, QStringLiteral("NEL"));
}

TEST(TestInfoDlg, CustomerReceiptAndCriterionAreTakenOnOkAndStoredOnSave) {
    test::TempConfigHome home;
    test::ScriptedMessageSink sink;
    CTestProperty property;
    property.LoadFromIni();
    CTestInfoDlg dlg(property);
    ASSERT_EQ(dlg.CriterionBox()->count(), 4);
    EXPECT_EQ(dlg.CriterionBox()->currentData().toString(), QStringLiteral("A"));
    EXPECT_EQ(dlg.CriterionBox()->itemText(1),
              QStringLiteral("B (temporary loss, self-recovering)"));
    EXPECT_EQ(dlg.ReceiptEdit()->accessibleName(), QStringLiteral("Date of receipt"));
    EXPECT_EQ(dlg.CriterionBox()->accessibleName(),
              QStringLiteral("Required performance criterion"));
    dlg.CustomerNameEdit()->setText(QStringLiteral("Widget Makers Ltd"));
    dlg.CustomerAddressEdit()->setText(QStringLiteral("4 Harbour Street"));
    dlg.ReceiptEdit()->setText(QStringLiteral("2 March"));
    dlg.CriterionBox()->setCurrentIndex(2);
    dlg.accept();
    EXPECT_EQ(property.m_strCustomerName, QStringLiteral("Widget Makers Ltd"));
    EXPECT_EQ(property.m_strCriterion, QStringLiteral("C"));
    const auto stored = [](const char* key) {
        return ReadIniString(QStringLiteral("INI_SECTION_REPORT_INFO"), QLatin1String(key),
                             QStringLiteral("<missing>"));
    };
    EXPECT_EQ(stored("INI_KEY_CRITERION"), QStringLiteral("<missing>")) << "OK writes nothing";

    CTestInfoDlg again(property);
    EXPECT_EQ(again.CriterionBox()->currentData().toString(), QStringLiteral("C"));
    sink.Expect(QStringLiteral("Save?"), MsgAnswer::Ok);
    again.SaveButton()->click();
    EXPECT_EQ(stored("INI_KEY_CUSTOMER_NAME"), QStringLiteral("Widget Makers Ltd"));
    EXPECT_EQ(stored("INI_KEY_CUSTOMER_ADDRESS"), QStringLiteral("4 Harbour Street"));
    EXPECT_EQ(stored("INI_KEY_DATE_OF_RECEIPT"), QStringLiteral("2 March"));
    EXPECT_EQ(stored("INI_KEY_CRITERION"), QStringLiteral("C"));

    // A stored criterion that is none of A to D is shown and kept as it is.
    property.m_strCriterion = QStringLiteral("B/C");
    CTestInfoDlg odd(property);
    EXPECT_EQ(odd.CriterionBox()->currentText(), QStringLiteral("B/C"));
    odd.accept();
    EXPECT_EQ(property.m_strCriterion, QStringLiteral("B/C"));
}

TEST(TypeSelectDlg, PreselectsTheStoredModelOrTheFirstRow) {
    test::TempConfigHome home;
    {
        CTypeSelectDlg dlg;
        EXPECT_EQ(dlg.ModelList()->count(), 8);
        EXPECT_EQ(dlg.ModelList()->currentItem()->data(Qt::UserRole).toUInt(), 5u);
    }
    StoreMachineType(12);
    {
        CTypeSelectDlg dlg;
        EXPECT_EQ(dlg.ModelList()->currentItem()->text().trimmed(),
                  QStringLiteral("ZEB-M40A3A-ED3 / ZEB-M50A3"));
    }
    StoreMachineType(2);
    CTypeSelectDlg dlg;
    EXPECT_EQ(dlg.ModelList()->currentRow(), 0);
    EXPECT_EQ(PreselectedRow(MachineSelectionList(), QStringLiteral("junk")), 0);
}

TEST(TypeSelectDlg, ButtonsGiveTheirResults) {
    test::TempConfigHome home;
    {
        CTypeSelectDlg dlg;
        EXPECT_EQ(dlg.Result(), typeselect::kExit);  // closed any other way
        dlg.ModelList()->setCurrentRow(7);
        dlg.StartButton()->click();
        EXPECT_EQ(dlg.Result(), typeselect::kStart);
        EXPECT_EQ(dlg.ChosenType(), 13u);
        EXPECT_EQ(StoredMachineTypeText(), QStringLiteral("13"));
    }
    CTypeSelectDlg retry;
    retry.RetryButton()->click();
    EXPECT_EQ(retry.Result(), typeselect::kRetry);
    CTypeSelectDlg exit;
    exit.ExitButton()->click();
    EXPECT_EQ(exit.Result(), typeselect::kExit);
}

TEST(OpeningAndAbout, FixedTextsAndTheVersionFieldHoldingTheVersionAlone) {
    COpeningDlg opening;
    EXPECT_EQ(opening.TitleLabel()->text(),
              QStringLiteral("ZEB-M40 / ZEB-M50\nRemote control software"));
    EXPECT_EQ(opening.VersionLabel()->text(), GetVersionString());
    CAboutDlg about;
    EXPECT_EQ(about.windowTitle(), QStringLiteral("About Remote control software"));
    const auto* version = about.findChild<QLabel*>(QStringLiteral("version"));
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version->text(), GetVersionString());
    EXPECT_EQ(version->accessibleName(), QStringLiteral("Version"));
    EXPECT_EQ(version->accessibleDescription(), GetVersionString());
    bool named = false;
    for (const QLabel* label : about.findChildren<QLabel*>()) {
        named |= label->text() == QStringLiteral("Remote control software for ZEB-M40 / ZEB-M50");
    }
    EXPECT_TRUE(named);
}

TEST(PortAccess, MissingOrUsableDevicesNeedNoWord) {
    QTemporaryDir dir;
    EXPECT_TRUE(PortAccessProblem(dir.filePath(QStringLiteral("ttyUSB9"))).isEmpty());
    EXPECT_TRUE(PortAccessProblem(QString()).isEmpty());
    QFile open(dir.filePath(QStringLiteral("ttyS0")));
    ASSERT_TRUE(open.open(QIODevice::WriteOnly));
    open.close();
    EXPECT_TRUE(PortAccessProblem(open.fileName()).isEmpty());
}

TEST(PortAccess, ForbiddenDeviceIsNamedWithItsGroup) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "the superuser may open every device";
    }
    QTemporaryDir dir;
    QFile locked(dir.filePath(QStringLiteral("ttyUSB0")));
    ASSERT_TRUE(locked.open(QIODevice::WriteOnly));
    locked.close();
    locked.setPermissions(QFileDevice::Permissions());
    const QString line = PortAccessProblem(locked.fileName());
    EXPECT_TRUE(line.startsWith(QStringLiteral("Permission denied: ") + locked.fileName() +
                                QStringLiteral(" belongs to group ")));
    EXPECT_TRUE(line.endsWith(QStringLiteral("; add your user to it and log in again.")));
    EXPECT_EQ(PortAccessProblems({locked.fileName(), dir.filePath(QStringLiteral("x"))}), line);
}

class RemoteTest : public test::SimFixture {};

TEST_F(RemoteTest, FollowsAnInstrumentThatVanishesAndComesBackAsAnotherModel) {
    zebsim::SimOptions first;
    first.machineType = 5;
    AddSim(first);
    CZebM40Cntl cntl;
    ASSERT_TRUE(cntl.IsConnected());
    CurrentMachine machine{5, 1};
    CRemoteMonitor monitor(cntl, machine);
    EXPECT_EQ(monitor.LinkText(), QStringLiteral("Connect"));
    EXPECT_EQ(monitor.ModelName(), QStringLiteral("ZEB-M40C3"));

    sims.back()->Stop();
    monitor.Tick();
    EXPECT_EQ(monitor.LinkText(), QStringLiteral("None"));

    zebsim::SimOptions second;
    second.machineType = 13;
    second.identity = zebsim::Identity::FirstHardware;
    sims.clear();
    AddSim(second);
    monitor.Tick();
    EXPECT_EQ(monitor.LinkText(), QStringLiteral("Connect"));
    EXPECT_EQ(monitor.ModelName(), QStringLiteral("ZEB-M40C3-ED3 / ZEB-M50C3"));
    EXPECT_EQ(machine.m_ulCurrentMachineType, 13u);
    EXPECT_EQ(machine.m_nCurrentHWVersion, 0);

    // Reconnecting reopens the port but leaves the model as it was.
    machine.m_ulCurrentMachineType = 5;
    monitor.Reconnect();
    EXPECT_EQ(monitor.LinkText(), QStringLiteral("Connect"));
    EXPECT_EQ(machine.m_ulCurrentMachineType, 5u);
}

TEST_F(RemoteTest, DialogShowsFallbackNameAndStopsItsTimerDuringWork) {
    UsePorts();  // an empty table: no instrument anywhere
    CZebM40Cntl cntl;
    CurrentMachine machine;
    CRemoteDlg dlg(cntl, machine);
    EXPECT_EQ(dlg.ModelLabel()->text(), QStringLiteral("ZEB-M40?? / ZEB-M50??"));
    EXPECT_EQ(dlg.ModelLabel()->accessibleDescription(), dlg.ModelLabel()->text());
    EXPECT_EQ(dlg.LinkEdit()->text(), QStringLiteral("None"));
    EXPECT_TRUE(dlg.LinkEdit()->isReadOnly());
    EXPECT_TRUE(dlg.WatchTimer().isActive());
    EXPECT_EQ(dlg.WatchTimer().interval(), 1000);
    QTest::qWait(1200);  // one tick of the watch, which restarts the timer after its scan
    EXPECT_TRUE(dlg.WatchTimer().isActive());
    dlg.ReconnectButton()->click();
    EXPECT_EQ(dlg.LinkEdit()->text(), QStringLiteral("None"));
}

}  // namespace
}  // namespace zeb

#include <gtest/gtest.h>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <map>

#include "DesktopReportOpener.h"
#include "ScriptedMessageSink.h"
#include "TestReport.h"
#include "XlsxReader.h"

namespace {

using namespace zeb;
using test::XlsxSheet;
using Cells = std::map<QString, QString>;

CTestProperty SampleProperty() {
    CTestProperty p;
    p.m_strCompanyName = "Acme Labs";
    p.m_strTestPlace = "Hall 2";
    p.m_strModel = "0042";  // would become the number 42 without the apostrophe
    p.m_strSerial = "1.50";
    p.m_strOperator = "J. Doe";
    p.m_strStandard = "IEC61000-4-5";
    p.m_strTemperature = "25.0 deg.C";
    p.m_strHumidity = "50.0 %";
    p.m_strAtm = "1013 hPa";
    p.m_strEutInfo = "PSU";
    p.m_strEutMode = "full load";
    p.m_strEutComment = "'quoted";
    p.m_strFreeInput1Title = "";  // an empty title still gets its cell
    p.m_strFreeInput1 = "x";
    p.m_strFreeInput2Title = "Mains";
    p.m_strFreeInput2 = "230 V";
    return p;
}

CZebM40SettingsDoc AcDocument() {
    CZebM40SettingsDoc doc;
    doc.OnNewDocument(5, 0);  // three-phase C model; new documents use the AC port
    CSettingData record = doc.Record();
    record.m_ulPola = 3;  // both polarities: two steps
    doc.ApplyRecord(record);
    return doc;
}

CZebM40SettingsDoc TelecomRingDocument() {
    CZebM40SettingsDoc doc;
    doc.OnNewDocument(1, 0);
    CSettingData record = doc.Record();
    record.m_outOutput.m_nOutputPort = kPortTelecom;
    record.m_outOutput.m_aopOutputPort[kPortTelecom].m_nWaveform = 2;  // RING
    record.m_outOutput.m_aopOutputPort[kPortTelecom].m_nRingRegi = 1;
    record.m_ulPola = 3;
    doc.ApplyRecord(record);
    return doc;
}

// Writes the report into a temporary folder and reads it back.
std::vector<XlsxSheet> WriteAndRead(const CTestProperty& p, const CZebM40SettingsDoc& doc) {
    QTemporaryDir dir;
    const QString path = dir.filePath("report.xlsx");
    QString error;
    EXPECT_TRUE(WriteTestReport(p, doc, path, error)) << error.toStdString();
    std::vector<XlsxSheet> sheets;
    EXPECT_TRUE(test::ReadXlsx(path, sheets, error)) << error.toStdString();
    return sheets;
}

// The sheet holds exactly these cells, all aligned to the top.
void ExpectCells(const XlsxSheet& sheet, const Cells& expected) {
    for (const auto& [address, value] : expected) {
        EXPECT_EQ(sheet.At(address), value)
            << sheet.name.toStdString() << "!" << address.toStdString();
    }
    for (const auto& [address, cell] : sheet.cells) {
        EXPECT_TRUE(expected.count(address))
            << "unexpected cell " << address.toStdString() << " = " << cell.value.toStdString();
        EXPECT_TRUE(cell.top) << address.toStdString();
        EXPECT_FALSE(cell.number) << address.toStdString();
    }
}

Cells ConditionCells(const CTestProperty& p, const CSettingData& r, const QString& ringCaption,
                     const QString& injRetCaption, const QString& couplingCaption) {
    return {
        {"B2", "Company"},
        {"C2", p.m_strCompanyName},
        {"B3", "Test location"},
        {"C3", p.m_strTestPlace},
        {"B5", "Model"},
        {"C5", p.m_strModel},
        {"B6", "Serial"},
        {"C6", p.m_strSerial},
        {"B7", "Operator"},
        {"C7", p.m_strOperator},
        {"B8", "Standard"},
        {"C8", p.m_strStandard},
        {"G5", "Date"},
        {"H5", p.GetTestDateText()},
        {"G6", "Time"},
        {"H6", p.GetTestTimeText()},
        {"G7", "Temperature"},
        {"H7", p.m_strTemperature},
        {"G8", "Humidity"},
        {"H8", p.m_strHumidity},
        {"G9", "Atmospheric"},
        {"H9", p.m_strAtm},
        {"L5", "EUT information"},
        {"M5", p.m_strEutInfo},
        {"L6", "Operation mode"},
        {"M6", p.m_strEutMode},
        {"L7", "Comment"},
        {"M7", p.m_strEutComment},
        {"L8", p.m_strFreeInput1Title},
        {"M8", p.m_strFreeInput1},
        {"L9", p.m_strFreeInput2Title},
        {"M9", p.m_strFreeInput2},
        {"B15", "Output port"},
        {"C15", r.GetItemText(1)},
        {"B16", "Output lines"},
        {"C16", r.GetItemText(2)},
        {"B17", couplingCaption},
        {"C17", r.GetItemText(4)},
        {"B18", "Waveform"},
        {"C18", r.GetItemText(5)},
        {"E18", ringCaption},
        {"F18", r.GetItemText(6)},
        {"B19", "Discharge"},
        {"C19", r.GetItemText(11)},
        {"B20", "Interval"},
        {"C20", r.GetItemText(12)},
        {"B21", "Voltage"},
        {"C21", r.GetItemText(9)},
        {"B22", injRetCaption},
        {"C22", r.GetItemText(3)},
        {"B23", "Polarity"},
        {"C23", r.GetItemText(10)},
        {"B24", "Sync."},
        {"C24", r.GetItemText(7)},
        {"B25", "Angle[deg.]"},
        {"C25", r.GetItemText(8)},
    };
}

Cells ContentCells(const CZebM40SettingsDoc& doc, const QString& ringCaption,
                   const QString& injRetCaption, const QString& couplingCaption,
                   const QString& overall) {
    const CSettingData& r = doc.Record();
    Cells cells = {
        {"B2", "Output port"},    {"B3", r.GetItemText(1)}, {"C2", "Output lines"},
        {"C3", r.GetItemText(2)}, {"D2", couplingCaption},  {"D3", r.GetItemText(4)},
        {"E2", "Waveform"},       {"E3", r.GetItemText(5)}, {"E5", ringCaption},
        {"E6", r.GetItemText(6)}, {"F2", "Discharge"},      {"F3", r.GetItemText(11)},
        {"H2", "Test result"},    {"H3", overall},          {"B10", "Interval"},
        {"C10", "Voltage"},       {"D10", injRetCaption},   {"E10", "Polarity"},
        {"F10", "Sync."},         {"G10", "Angle[deg.]"},   {"H10", "Result"},
        {"I10", "Comment"},
    };
    int k = 0;
    for (CExecData step : doc.Steps()) {
        const QString row = QString::number(10 + ++k);
        cells["A" + row] = QString("Step%1").arg(k, 4);
        const int items[] = {12, 9, 3, 10, 7, 8, 13, 14};
        for (int i = 0; i < 8; ++i) {
            cells[QChar('B' + i) + row] = step.GetItemText(items[i]);
        }
    }
    return cells;
}

TEST(TestReport, AcDocumentFillsEveryCellOfBothSheets) {
    const CTestProperty p = SampleProperty();
    CZebM40SettingsDoc doc = AcDocument();
    ASSERT_GE(doc.Steps().size(), 2u);
    doc.Steps()[0].m_nResult = kResultPass;
    doc.Steps()[0].m_strComment = "=1+1";
    doc.Steps()[1].m_nResult = kResultPass;
    for (size_t i = 2; i < doc.Steps().size(); ++i) {
        doc.Steps()[i].m_nResult = kResultPass;
    }

    const std::vector<XlsxSheet> sheets = WriteAndRead(p, doc);
    ASSERT_EQ(sheets.size(), 3u);
    EXPECT_EQ(sheets[0].name, "Condition");
    EXPECT_EQ(sheets[1].name, "Content");
    EXPECT_EQ(sheets[2].name, " ");
    EXPECT_TRUE(sheets[2].cells.empty());

    // Not RING: the ring impedance captions are written empty.
    ExpectCells(sheets[0], ConditionCells(p, doc.Record(), "", "INJ - RET", "Coupling"));
    ExpectCells(sheets[1], ContentCells(doc, "", "INJ - RET", "Coupling", "PASS"));
    EXPECT_EQ(sheets[0].At("E18"), "");
    EXPECT_EQ(sheets[1].At("E5"), "");
    EXPECT_EQ(sheets[0].At("H5"), "----");  // "'----": no test moment yet
    EXPECT_EQ(sheets[0].At("H6"), "----");
    EXPECT_EQ(sheets[0].At("C5"), "0042");
    EXPECT_EQ(sheets[0].At("M7"), "'quoted");
    EXPECT_EQ(sheets[0].At("L8"), "");
    EXPECT_EQ(sheets[1].At("A11"), "Step   1");
    EXPECT_EQ(sheets[1].At("H11"), "PASS");
    EXPECT_EQ(sheets[1].At("I11"), "=1+1");
}

TEST(TestReport, AfternoonTestTimeIsWrittenOnTheTwentyFourHourClock) {
    CTestProperty p = SampleProperty();
    p.m_tmTestDate = QDateTime(QDate(2024, 3, 5), QTime(14, 5), Qt::LocalTime).toSecsSinceEpoch();
    const std::vector<XlsxSheet> sheets = WriteAndRead(p, AcDocument());
    ASSERT_FALSE(sheets.empty());
    EXPECT_EQ(sheets[0].At("H6"), "14:05:00");
}

TEST(TestReport, TelecomRingDocumentUsesTelecomCaptions) {
    CTestProperty p = SampleProperty();
    p.m_tmTestDate = QDateTime(QDate(2024, 3, 5), QTime(9, 7, 2), Qt::LocalTime).toSecsSinceEpoch();
    CZebM40SettingsDoc doc = TelecomRingDocument();
    ASSERT_FALSE(doc.Steps().empty());
    doc.Steps().back().m_nResult = kResultFail;
    doc.Steps().back().m_strComment = "flashover";

    const std::vector<XlsxSheet> sheets = WriteAndRead(p, doc);
    ASSERT_EQ(sheets.size(), 3u);
    ExpectCells(sheets[0],
                ConditionCells(p, doc.Record(), "Impedance[Ohm]", "RET", "Impedance[Ohm]"));
    ExpectCells(sheets[1], ContentCells(doc, "Impedance[Ohm]", "RET", "Impedance[Ohm]", "FAIL"));
    EXPECT_EQ(sheets[0].At("H5"), "2024/03/05");
    EXPECT_EQ(sheets[0].At("H6"), "09:07:02");
    EXPECT_EQ(sheets[0].At("F18"), "12ohm");
    EXPECT_EQ(sheets[1].At("E6"), "12ohm");
    EXPECT_EQ(sheets[0].At("C23"), "+/-");
    const QString last = QString::number(10 + static_cast<int>(doc.Steps().size()));
    EXPECT_EQ(sheets[1].At("H" + last), "FAIL");
    EXPECT_EQ(sheets[1].At("I" + last), "flashover");
}

// A document for `machine` that tests on `port`, as the editor would leave it.
CZebM40SettingsDoc PortDocument(uint32_t machine, int32_t port,
                                void (*edit)(OUTPUT_PORT&) = nullptr) {
    CZebM40SettingsDoc doc;
    doc.OnNewDocument(machine, 0);
    CSettingData record = doc.Record();
    record.m_outOutput.m_nOutputPort = port;
    if (edit) {
        edit(record.m_outOutput.m_aopOutputPort[port]);
    }
    doc.ApplyRecord(record);
    return doc;
}

// The texts that depend on the output port, as the operator reads them in both sheets. Only
// the first step row is checked; the other cells are covered above.
struct PortCells {
    Cells condition;
    Cells content;
};

void ExpectPortCells(const CZebM40SettingsDoc& doc, const PortCells& expected) {
    ASSERT_FALSE(doc.Steps().empty());
    const std::vector<XlsxSheet> sheets = WriteAndRead(SampleProperty(), doc);
    ASSERT_EQ(sheets.size(), 3u);
    for (const auto& [address, value] : expected.condition) {
        EXPECT_EQ(sheets[0].At(address), value) << "Condition!" << address.toStdString();
    }
    for (const auto& [address, value] : expected.content) {
        EXPECT_EQ(sheets[1].At(address), value) << "Content!" << address.toStdString();
    }
}

TEST(TestReport, DcDocumentHasNoSynchronisation) {
    ExpectPortCells(PortDocument(2, kPortDc), {{{"C15", "DC LINE OUTPUT"},
                                                {"C16", "+, -"},
                                                {"B17", "Coupling"},
                                                {"C17", "STANDARD"},
                                                {"C18", "1.2/50"},
                                                {"E18", ""},
                                                {"F18", ""},
                                                {"B22", "INJ - RET"},
                                                {"C22", "+ - - "},
                                                {"C24", ""},
                                                {"C25", ""}},
                                               {{"B3", "DC LINE OUTPUT"},
                                                {"C3", "+, -"},
                                                {"D2", "Coupling"},
                                                {"D3", "STANDARD"},
                                                {"D10", "INJ - RET"},
                                                {"D11", "+ - - "},
                                                {"E11", "+"},
                                                {"F11", ""},
                                                {"G11", ""}}});
}

TEST(TestReport, SurgeOutputRingDocumentShowsTheRingImpedance) {
    ExpectPortCells(PortDocument(2, kPortSurge,
                                 [](OUTPUT_PORT& s) {
                                     s.m_nWaveform = 2;  // RING
                                 }),
                    {{{"C15", "SURGE OUTPUT"},
                      {"C16", "HOT - COM"},
                      {"B17", "Coupling"},
                      {"C17", ""},  // the surge output has no coupling
                      {"C18", "RING"},
                      {"E18", "Impedance[Ohm]"},
                      {"F18", "30ohm"},
                      {"B22", "INJ - RET"},
                      {"C22", "HOT - COM"}},
                     {{"B3", "SURGE OUTPUT"},
                      {"D3", ""},
                      {"E3", "RING"},
                      {"E5", "Impedance[Ohm]"},
                      {"E6", "30ohm"},
                      {"D11", "HOT - COM"}}});
}

TEST(TestReport, TelecomCouplingUnitDocumentUsesTheUnitsTables) {
    ExpectPortCells(
        PortDocument(kMachineTelecomUnit, kPortTelecom),
        {{{"C15", "TELECOM LINE OUTPUT"},
          {"C16", "FOUR LINES"},
          {"B17", "Impedance[Ohm]"},
          {"C17", "40ohm"},
          {"C18", "10/700"},
          {"E18", ""},
          {"B22", "RET"},
          {"C22", "________"},
          {"C24", ""}},
         {{"D2", "Impedance[Ohm]"}, {"D3", "40ohm"}, {"D10", "RET"}, {"D11", "________"}}});
}

TEST(TestReport, SynchronisedThreePhaseDocumentListsLinesAndAngles) {
    ExpectPortCells(PortDocument(5, kPortAc,
                                 [](OUTPUT_PORT& s) {
                                     s.m_nOutputDetail = 3;
                                     s.m_aulInjRetBit[3] = (1u << 0) | (1u << 12);
                                     s.m_nSync = 1;
                                 }),
                    {{{"C16", "THREE  PHASE L1, L2, L3"},
                      {"C22", "L1 - L2, L1 - PE"},
                      {"C24", "SYNC"},
                      {"C25", "START:0, END  :270, STEP :90"}},
                     {{"C3", "THREE  PHASE L1, L2, L3"},
                      {"D11", "L1 - L2"},
                      {"F11", "SYNC"},
                      {"G11", "0"},
                      {"G12", "90"}}});
}

TEST(TestReport, SheetsBeyondTheThirdAreLeftAlone) {
    CMsExcelControl xl;
    ASSERT_TRUE(xl.Open());
    for (int i = 0; i < 3; ++i) {
        xl.AddSheet();
    }
    QString error;
    ASSERT_TRUE(FillTestReport(xl, SampleProperty(), AcDocument(), error));
    ASSERT_EQ(xl.GetSheetCount(), 4);
    EXPECT_EQ(xl.GetSheetName(0), "Condition");
    EXPECT_EQ(xl.GetSheetName(1), "Content");
    EXPECT_EQ(xl.GetSheetName(2), " ");
    EXPECT_EQ(xl.GetSheetName(3), "Sheet4");
}

TEST(TestReport, OverallResultFoldsTheJudgements) {
    auto steps = [](std::initializer_list<int> results) {
        ExecDataList list;
        for (int r : results) {
            CExecData s;
            s.m_nResult = r;
            list.push_back(s);
        }
        return list;
    };
    EXPECT_EQ(OverallResult(steps({})), kResultPass);
    EXPECT_EQ(OverallResult(steps({2, 2, 2})), kResultPass);
    EXPECT_EQ(OverallResult(steps({2, 0, 2})), kResultNone);
    EXPECT_EQ(OverallResult(steps({0, 1, 0})), kResultFail);  // FAIL beats unjudged either way
    EXPECT_EQ(OverallResult(steps({2, 1, 0})), kResultFail);
    EXPECT_EQ(OverallResult(steps({2, 7})), kResultNone);  // shown as "------", counted so
}

TEST(TestReport, EmptyStepListGivesNoRowsAndPass) {
    CZebM40SettingsDoc doc = AcDocument();
    doc.Steps().clear();
    const std::vector<XlsxSheet> sheets = WriteAndRead(SampleProperty(), doc);
    ASSERT_EQ(sheets.size(), 3u);
    ExpectCells(sheets[1], ContentCells(doc, "", "INJ - RET", "Coupling", "PASS"));
    EXPECT_EQ(sheets[1].At("A11"), "<absent>");
}

TEST(TestReport, UnjudgedStepShowsDashesOverall) {
    CZebM40SettingsDoc doc = AcDocument();
    for (CExecData& s : doc.Steps()) {
        s.m_nResult = kResultPass;
    }
    doc.Steps()[0].m_nResult = kResultNone;
    const std::vector<XlsxSheet> sheets = WriteAndRead(SampleProperty(), doc);
    ASSERT_EQ(sheets.size(), 3u);
    EXPECT_EQ(sheets[1].At("H3"), "------");
    EXPECT_EQ(sheets[1].At("H11"), "------");
}

TEST(TestReport, StepsPastTheLastRowAreRefusedNotDropped) {
    CZebM40SettingsDoc doc = AcDocument();
    // Step k sits in row 10 + k; the last row of a sheet is 1048576.
    doc.Steps().resize(CMsExcelControl::kMaxRows - 10 + 1);
    CMsExcelControl xl;
    ASSERT_TRUE(xl.Open());
    QString error;
    EXPECT_FALSE(FillTestReport(xl, SampleProperty(), doc, error));
    EXPECT_TRUE(error.contains("1048567 steps")) << error.toStdString();
}

TEST(TestReport, StepListEndingInTheLastRowFits) {
    CZebM40SettingsDoc doc = AcDocument();
    doc.Steps().resize(CMsExcelControl::kMaxRows - 10);
    CMsExcelControl xl;
    ASSERT_TRUE(xl.Open());
    QString error;
    EXPECT_TRUE(FillTestReport(xl, SampleProperty(), doc, error)) << error.toStdString();
}

TEST(TestReport, WritingAReportNeverChangesTheDocument) {
    CZebM40SettingsDoc doc = AcDocument();
    doc.Steps()[0].m_nWaveform = 5;  // out of range: shown as the default waveform
    const ExecDataList before = doc.Steps();
    const std::vector<XlsxSheet> sheets = WriteAndRead(SampleProperty(), doc);
    EXPECT_TRUE(doc.Steps() == before);
}

class MakeTestReportTest : public ::testing::Test {
protected:
    struct Opener : IReportOpener {
        bool OpenReport(const QString& path) override {
            opened.push_back(path);
            return canOpen;
        }
        bool canOpen = true;
        std::vector<QString> opened;
    };

    QTemporaryDir m_dir;
    Opener m_opener;
    test::ScriptedMessageSink m_sink;
    const QDateTime m_now{QDate(2025, 1, 2), QTime(3, 4, 5)};
};

TEST_F(MakeTestReportTest, NewFileInTheReportFolderNeverOverwritten) {
    CZebM40SettingsDoc doc = AcDocument();
    doc.SetPathName("/somewhere/Line: A*B.zms");
    const QString folder = m_dir.filePath("ZEB Reports");
    const QString first = MakeTestReport(SampleProperty(), doc, m_opener, folder, m_now);
    EXPECT_EQ(first, folder + "/Line_ A_B 2025-01-02 030405.xlsx");
    const QString second = MakeTestReport(SampleProperty(), doc, m_opener, folder, m_now);
    EXPECT_EQ(second, folder + "/Line_ A_B 2025-01-02 030405 (2).xlsx");
    ASSERT_EQ(m_opener.opened.size(), 2u);
    EXPECT_EQ(m_opener.opened[1], second);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), 2);

    CZebM40SettingsDoc untitled = AcDocument();
    EXPECT_EQ(MakeTestReport(SampleProperty(), untitled, m_opener, folder, m_now),
              folder + "/Test 2025-01-02 030405.xlsx");
}

TEST_F(MakeTestReportTest, TitleStartingWithADotGivesAVisibleFile) {
    CZebM40SettingsDoc doc = AcDocument();
    doc.SetPathName("/somewhere/..hidden.zms");
    const QString folder = m_dir.filePath("r");
    const QString path = MakeTestReport(SampleProperty(), doc, m_opener, folder, m_now);
    EXPECT_EQ(path, folder + "/hidden 2025-01-02 030405.xlsx");
    EXPECT_TRUE(QFile::exists(path));
}

TEST_F(MakeTestReportTest, LongTitleIsShortenedToFitAFileName) {
    // 100 characters of three bytes each: a valid settings file name, too long with the date.
    const QString title(100, QChar(0x8A66));
    CZebM40SettingsDoc doc = AcDocument();
    doc.SetPathName("/somewhere/" + title + ".zms");
    const QString folder = m_dir.filePath("r");
    const QString path = MakeTestReport(SampleProperty(), doc, m_opener, folder, m_now);
    ASSERT_FALSE(path.isEmpty());
    const QString name = QFileInfo(path).fileName();
    EXPECT_LE(name.toUtf8().size(), 255 - 8);  // room left for " (n)"
    EXPECT_TRUE(name.startsWith(title.left(60))) << name.toStdString();
    EXPECT_TRUE(name.endsWith(" 2025-01-02 030405.xlsx")) << name.toStdString();
    EXPECT_TRUE(QFile::exists(path));
}

TEST_F(MakeTestReportTest, OperatorIsToldThePathWhenNothingOpensIt) {
    m_opener.canOpen = false;
    const QString folder = m_dir.filePath("r");
    const QString expected = folder + "/Test 2025-01-02 030405.xlsx";
    m_sink.Expect("No program could open the test report. It was saved as:\n" +
                  QDir::toNativeSeparators(expected));
    EXPECT_EQ(MakeTestReport(SampleProperty(), AcDocument(), m_opener, folder, m_now), expected);
    EXPECT_TRUE(QFile::exists(expected));
}

TEST(DesktopReportOpener, NoProgramForWorkbooksIsAFailureAndLaunchesNothing) {
    QStringList launched;
    const auto launch = [&launched](const QUrl& file) {
        launched << file.toLocalFile();
        return true;
    };
    // The desktop names no program: its opener would start and find nothing, unseen.
    CDesktopReportOpener none([](const QString&) { return QString(""); }, launch);
    EXPECT_FALSE(none.OpenReport("/r/a.xlsx"));
    EXPECT_TRUE(launched.isEmpty());

    QString askedFor;
    CDesktopReportOpener calc(
        [&askedFor](const QString& type) {
            askedFor = type;
            return QString("calc.desktop");
        },
        launch);
    EXPECT_TRUE(calc.OpenReport("/r/b.xlsx"));
    EXPECT_EQ(askedFor, "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet");

    // A desktop that cannot say leaves it to the launch, and its refusal is a failure.
    CDesktopReportOpener unknown([](const QString&) { return std::optional<QString>(); },
                                 [&launched](const QUrl& file) {
                                     launched << file.toLocalFile();
                                     return false;
                                 });
    EXPECT_FALSE(unknown.OpenReport("/r/c.xlsx"));
    EXPECT_EQ(launched, (QStringList{"/r/b.xlsx", "/r/c.xlsx"}));
}

TEST_F(MakeTestReportTest, UnwritableFolderIsReportedNotCrashed) {
    const QString blocker = m_dir.filePath("file");
    {
        QFile f(blocker);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    m_sink.ExpectAny();
    EXPECT_TRUE(
        MakeTestReport(SampleProperty(), AcDocument(), m_opener, blocker + "/ZEB Reports", m_now)
            .isEmpty());
    ASSERT_EQ(m_sink.Shown().size(), 1u);
    EXPECT_TRUE(m_sink.Shown()[0].startsWith("The test report could not be written."));
    EXPECT_TRUE(m_opener.opened.empty());
}

}  // namespace

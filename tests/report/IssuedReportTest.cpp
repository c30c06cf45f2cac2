#include <gtest/gtest.h>
#include <QJsonArray>
#include <QJsonDocument>

#include "IniFile.h"
#include "IssuedReport.h"
#include "ReportNumber.h"
#include "SettingsDoc.h"
#include "TempConfigHome.h"
#include "TestProperty.h"
#include "TestPropertyJson.h"

namespace {

using namespace zeb;
using zeb::test::TempConfigHome;

// Steps of an AC test: a template step changed in the fields the matrix sorts by.
class MatrixTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_doc.OnNewDocument(5, 0));
        ASSERT_FALSE(m_doc.Steps().empty());
        m_template = m_doc.Steps().front();
        m_template.m_nOutputPort = kPortAc;
    }
    CExecData Step(int32_t volt, int32_t injRet, int32_t pola, int32_t sync, int32_t angle,
                   int result) const {
        CExecData s = m_template;
        s.m_lVolt = volt;
        s.m_nInjRet = injRet;
        s.m_nPola = pola;
        s.m_nSync = sync;
        s.m_lAngle = angle;
        s.m_nResult = result;
        return s;
    }
    CZebM40SettingsDoc m_doc;
    CExecData m_template;
};

TEST_F(MatrixTest, OneCellPerVoltagePathPolarityAndAngle) {
    const CExecData a = Step(1000, 1, 0, 1, 90, kResultPass);
    const CExecData b = Step(500, 2, 1, 1, 0, kResultFail);
    ASSERT_NE(a.GetItemText(kItemLine), b.GetItemText(kItemLine)) << "two different paths";
    ExecDataList steps{a, b, Step(500, 1, 0, 1, 90, kResultNone),
                       Step(1000, 1, 0, 1, 0, kResultPass)};
    const ResultsMatrix m = MatrixOf(steps);

    // Rows by voltage from the lowest; columns by path in order of appearance, polarity, angle.
    ASSERT_EQ(m.voltages.size(), 2);
    EXPECT_EQ(m.voltages[0], b.GetItemText(kItemVoltage));
    EXPECT_EQ(m.voltages[1], a.GetItemText(kItemVoltage));
    EXPECT_EQ(m.paths, (QStringList{a.GetItemText(kItemLine), b.GetItemText(kItemLine)}));
    ASSERT_EQ(m.columns.size(), 3u);
    EXPECT_EQ(m.columns[0].path, 0);
    EXPECT_EQ(m.columns[0].angle, "0");
    EXPECT_EQ(m.columns[1].path, 0);
    EXPECT_EQ(m.columns[1].angle, "90");
    EXPECT_EQ(m.columns[1].polarity, a.GetItemText(kItemPolarity));
    EXPECT_EQ(m.columns[2].path, 1);
    EXPECT_EQ(m.columns[2].polarity, b.GetItemText(kItemPolarity));

    EXPECT_EQ(m.At(1, 0), ResultsMatrix::kPass);
    EXPECT_EQ(m.At(1, 1), ResultsMatrix::kPass);
    EXPECT_EQ(m.At(0, 2), ResultsMatrix::kFail);
    EXPECT_EQ(m.At(0, 1), ResultsMatrix::kNotTested) << "a step never judged";
    EXPECT_EQ(m.At(0, 0), ResultsMatrix::kNotTested) << "no step for the combination";
    EXPECT_EQ(m.At(1, 2), ResultsMatrix::kNotTested);
}

TEST_F(MatrixTest, ACellIsPassOnlyWhileEveryStepPassedAndFailOnceAnyFailed) {
    const auto cell = [&](std::vector<int> results) {
        ExecDataList steps;
        for (int r : results) {
            steps.push_back(Step(500, 1, 0, 0, 0, r));
        }
        const ResultsMatrix m = MatrixOf(steps);
        EXPECT_EQ(m.columns.size(), 1u);
        EXPECT_EQ(m.columns[0].angle, "") << "unsynchronised: no angle";
        return m.At(0, 0);
    };
    EXPECT_EQ(cell({kResultPass, kResultPass}), ResultsMatrix::kPass);
    EXPECT_EQ(cell({kResultPass, kResultNone}), ResultsMatrix::kNotTested);
    EXPECT_EQ(cell({kResultNone, kResultPass}), ResultsMatrix::kNotTested);
    EXPECT_EQ(cell({kResultPass, kResultFail, kResultPass}), ResultsMatrix::kFail);
    EXPECT_EQ(cell({kResultFail, kResultNone}), ResultsMatrix::kFail);
    EXPECT_TRUE(MatrixOf({}).columns.empty());
}

TEST_F(MatrixTest, StatementFollowsTheResultsAndNamesTheCriterion) {
    TempConfigHome home;
    CTestProperty p;
    p.LoadFromIni();
    p.m_strCriterion = "B";
    m_doc.Steps() = {Step(500, 1, 0, 0, 0, kResultPass), Step(1000, 1, 0, 0, 0, kResultPass)};
    IssuedReport r = MakeIssuedReport(p, m_doc);
    EXPECT_EQ(r.statement,
              "The EUT conforms: all 2 test steps passed at the required performance "
              "criterion B (temporary loss, self-recovering).");
    EXPECT_EQ(r.overall, kResultPass);

    m_doc.Steps()[1].m_nResult = kResultFail;
    r = MakeIssuedReport(p, m_doc);
    EXPECT_TRUE(r.statement.startsWith("The EUT does not conform: 1 of 2 test steps failed"))
        << r.statement.toStdString();
    EXPECT_TRUE(r.statement.contains("(step 2)"));

    m_doc.Steps()[1].m_nResult = kResultNone;
    r = MakeIssuedReport(p, m_doc);
    EXPECT_TRUE(r.statement.startsWith("No statement of conformity can be made: 1 of 2"));

    m_doc.Steps().clear();
    EXPECT_TRUE(MakeIssuedReport(p, m_doc).statement.startsWith("No statement of conformity"));

    EXPECT_EQ(CriterionText("a"), "A (normal performance)");
    EXPECT_EQ(CriterionText("D"), "D (loss not recoverable)");
    EXPECT_EQ(CriterionText("Z"), "Z");
    EXPECT_EQ(CriterionText(""), "(not stated)");
}

TEST(ReportNumber, CounterIsRaisedAndStoredBeforeANumberIsGiven) {
    TempConfigHome home;
    const QDate day(2026, 3, 1);
    QString error;
    EXPECT_EQ(FormatReportNumber("LAB", 2026, 7), "LAB-2026-0007");
    EXPECT_EQ(FormatReportNumber("  ", 2026, 12345), "2026-12345");
    EXPECT_EQ(PeekReportNumber("LAB", day, error), "LAB-2026-0001");
    EXPECT_EQ(PeekReportNumber("LAB", day, error), "LAB-2026-0001") << "a peek never raises it";
    EXPECT_EQ(DrawReportNumber("LAB", day, error), "LAB-2026-0001");
    EXPECT_EQ(DrawReportNumber("LAB", day, error), "LAB-2026-0002");
    EXPECT_EQ(ReadIniString(ini::kSectionProperty, ini::kKeyReportCounter, ""), "2");
    // The counter goes on over the turn of the year; numbers are never given twice.
    EXPECT_EQ(DrawReportNumber("LAB", QDate(2027, 1, 1), error), "LAB-2027-0003");

    WriteIniString(ini::kSectionProperty, ini::kKeyReportCounter, "12x");
    EXPECT_EQ(DrawReportNumber("LAB", day, error), "");
    EXPECT_TRUE(error.contains("INI_KEY_REPORT_COUNTER")) << error.toStdString();
    EXPECT_EQ(ReadIniString(ini::kSectionProperty, ini::kKeyReportCounter, ""), "12x");
    WriteIniString(ini::kSectionProperty, ini::kKeyReportCounter, "-1");
    EXPECT_EQ(PeekReportNumber("LAB", day, error), "");
}

TEST(ReportNumber, ACounterThatCannotBeStoredGivesNoNumber) {
    TempConfigHome home;
    QString error;
    // ZEB.ini's folder is a file: nothing can be stored.
    QFile blocker(home.Path() + "/Brakmoor");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_EQ(DrawReportNumber("", QDate(2026, 1, 1), error), "");
    EXPECT_TRUE(error.contains("could not be stored")) << error.toStdString();
}

TEST(IssuedReportFields, NewEnvironmentFieldsComeFromTheirIniKeysAndGoIntoTheJournal) {
    TempConfigHome home;
    CTestProperty p;
    p.LoadFromIni();
    EXPECT_EQ(p.m_strCriterion, "A");
    EXPECT_EQ(p.m_strLabAddress, "");
    WriteIniString("INI_SECTION_PROPERTY", "INI_KEY_LAB_ADDRESS", "1 Lab Road, Testville");
    WriteIniString("INI_SECTION_PROPERTY", "INI_KEY_LAB_LOGO", "/lab/logo.svg");
    WriteIniString("INI_SECTION_PROPERTY", "INI_KEY_REPORT_PREFIX", "TR");
    WriteIniString("INI_SECTION_REPORT_INFO", "INI_KEY_CUSTOMER_NAME", "Widget Co");
    WriteIniString("INI_SECTION_REPORT_INFO", "INI_KEY_CUSTOMER_ADDRESS", "2 Main St");
    WriteIniString("INI_SECTION_REPORT_INFO", "INI_KEY_DATE_OF_RECEIPT", "3 March");
    WriteIniString("INI_SECTION_REPORT_INFO", "INI_KEY_CRITERION", "C");
    p.LoadFromIni();
    const QJsonObject json = TestPropertyToJson(p);
    EXPECT_EQ(json.value("lab_address").toString(), "1 Lab Road, Testville");
    EXPECT_EQ(json.value("lab_logo").toString(), "/lab/logo.svg");
    EXPECT_EQ(json.value("report_prefix").toString(), "TR");
    EXPECT_EQ(json.value("customer_name").toString(), "Widget Co");
    EXPECT_EQ(json.value("customer_address").toString(), "2 Main St");
    EXPECT_EQ(json.value("date_of_receipt").toString(), "3 March");
    EXPECT_EQ(json.value("criterion").toString(), "C");
    CTestProperty back;
    QString error;
    ASSERT_TRUE(TestPropertyFromJson(json, back, error)) << error.toStdString();
    EXPECT_EQ(TestPropertyToJson(back), json);
}

TEST(IssuedReportFields, MethodCheckIsReadFromTheJournalShape) {
    const QJsonObject json = QJsonDocument::fromJson(R"({"profile":"basic","title":"Basic",
        "level":"3","voltage":2000,"findings":[{"rule":"polarity","severity":"warning",
        "citation":"7.1","text":"Only one polarity.","steps":[1,2]}]})")
                                 .object();
    ReportMethodCheck check;
    QString error;
    ASSERT_TRUE(MethodCheckFromJson(json, check, error)) << error.toStdString();
    EXPECT_EQ(check.profile, "basic");
    EXPECT_EQ(check.level, "3");
    EXPECT_EQ(check.voltage, "2000 V");
    ASSERT_EQ(check.findings.size(), 1u);
    EXPECT_EQ(check.findings[0].citation, "7.1");
    EXPECT_EQ(check.findings[0].steps, (std::vector<int>{1, 2}));

    ASSERT_TRUE(MethodCheckFromJson(QJsonObject{{"profile", "p"}, {"findings", QJsonArray{}}},
                                    check, error));
    EXPECT_TRUE(check.findings.empty());

    for (const char* bad : {R"({"level":3})", R"({"findings":{}})", R"({"findings":[1]})",
                            R"({"voltage":"2 kV"})", R"({"findings":[{"steps":["1"]}]})"}) {
        ReportMethodCheck kept = check;
        EXPECT_FALSE(MethodCheckFromJson(QJsonDocument::fromJson(bad).object(), kept, error))
            << bad;
        EXPECT_FALSE(error.isEmpty());
        EXPECT_EQ(kept.profile, "p") << "left unchanged";
    }
}

}  // namespace

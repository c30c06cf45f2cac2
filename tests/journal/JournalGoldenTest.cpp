// Journals written today must stay byte for byte what earlier versions wrote: auditors keep the
// hash of a journal's last line, and restoring a run reads journals written by older programs.
// The reference files under golden/ were written by the writer as it stood before its events
// were described by one table; these runs write them again and must match every byte.

#include <gtest/gtest.h>
#include <QBuffer>
#include <QFile>
#include <QJsonArray>

#include "ExecData.h"
#include "JournalReader.h"
#include "JournalRecovery.h"
#include "JournalReport.h"
#include "JournalSamples.h"
#include "RunJournalObserver.h"

namespace {

using namespace zeb;

QByteArray Golden(const char* name) {
    QFile file(QStringLiteral(ZEB_JOURNAL_GOLDEN_DIR "/") + QLatin1String(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A document as the open line records it, built by hand so that only the writer is tested.
QJsonObject ScriptedDocument() {
    QJsonArray steps;
    for (int i = 0; i < 3; ++i) {
        steps.append(QJsonObject{{"m_lVolt", 1000 + 500 * i},
                                 {"m_nPola", i % 2},
                                 {"m_nResult", 2},
                                 {"m_strComment", i == 0 ? "ältere Notiz" : ""}});
    }
    return QJsonObject{{"record", QJsonObject{{"m_ulMachineType", 5}, {"m_strTitle", "ring"}}},
                       {"steps", steps}};
}

JournalOpenInfo ScriptedOpenInfo(bool everyOptionalField) {
    JournalOpenInfo info;
    info.programVersion = QStringLiteral("2.4.0");
    info.documentPath = QStringLiteral("/lab/docs/golden ring.zms");
    info.documentSha256 = Sha256Hex("golden document bytes");
    info.document = ScriptedDocument();
    info.environment = QJsonObject{{"m_strCompanyName", "Acme Labs"}, {"m_tmTestDate", 1714555800}};
    info.instrumentReply = QStringLiteral("ZEB-M40 V1.2");
    info.machineType = 5;
    info.hwVersion = 2;
    info.port = QStringLiteral("COM1 (/dev/pts/3)");
    info.operatorLogin = QStringLiteral("jurgen");
    info.currentStep = 1;
    if (everyOptionalField) {
        info.standard = QJsonObject{
            {"profile", "ring-wave"},
            {"title", "Ring wave"},
            {"level", 3},
            {"voltage", 2000},
            {"findings", QJsonArray{QJsonObject{{"rule", "polarity"},
                                                {"severity", "warning"},
                                                {"citation", "7.2"},
                                                {"text", "Only one polarity is tested."},
                                                {"steps", QJsonArray{2, 3}}}}}};
        info.resumesJournal = QStringLiteral("/runs/20240501-093000-golden ring.zebrun");
        info.endedSteps = {1};
    }
    return info;
}

MonitorVerdict ScriptedVerdict(int step, MonitorOutcome outcome, MonitorPhase phase) {
    MonitorVerdict verdict;
    verdict.request.step = step;
    verdict.request.phase = phase;
    verdict.outcome = outcome;
    verdict.comment =
        outcome == MonitorOutcome::Pass ? QString() : QStringLiteral("monitor: no \"ping\"");
    verdict.exitStatus = outcome == MonitorOutcome::Problem ? -1 : 1;
    verdict.durationMs = 1234;
    verdict.output = "no ping\nsecond line";
    verdict.errorOutput = "zeitüberschreitung";
    return verdict;
}

// Every event and every optional field the program writes, in the order a long run of the
// dialog could write them, through the same calls the run makes.
void WriteScriptedRun(CMemoryRunJournal& journal) {
    CRunJournalObserver observer(journal);
    observer.Open(ScriptedOpenInfo(true));
    observer.OnStepStarted(1, {"SV1500", "SP1", "SC5"});
    observer.OnStepEnded(1, kResultPass, 5);
    observer.OnJudgement(1, kResultFail, QStringLiteral("arc at L1, \"loud\"\nsecond line"),
                         JudgedBy::Operator);
    observer.OnStepStarted(2, {"SV2000"});
    observer.RecordMonitorVerdict(ScriptedVerdict(3, MonitorOutcome::Pass, MonitorPhase::During),
                                  kResultNone);
    observer.OnStepEnded(2, kJournalResultPending, 3);
    observer.RecordMonitorVerdict(ScriptedVerdict(3, MonitorOutcome::Fail, MonitorPhase::After),
                                  kResultFail);
    observer.OnJudgement(2, kResultFail, QStringLiteral("monitor: no \"ping\""), JudgedBy::Monitor);
    observer.RecordMonitorVerdict(ScriptedVerdict(3, MonitorOutcome::Problem, MonitorPhase::After),
                                  kResultNone);
    observer.OnJudgement(0, kResultPass, QString(), JudgedBy::Bulk);
    observer.OnJudgement(1, kResultNone, QString(), JudgedBy::Sequencer);
    observer.OnCommentsCleared();
    observer.OnInstrumentError(3, QStringLiteral("Over voltage"));
    observer.OnStopSent(StopBy::EscapeKey);
    observer.OnRunEnded(RunOutcome::Stopped);
    observer.OnStepStarted(2, {});
    observer.OnLinkLost();
    observer.OnRunEnded(RunOutcome::NoLink);
    observer.OnRunEnded(RunOutcome::Error);
    observer.OnRunEnded(RunOutcome::Complete);
    journal.Report(QStringLiteral("/reports/golden ring.xlsx"), QByteArray(64, 'a'));
    journal.Report(QStringLiteral("/reports/unreadable.xlsx"), QByteArray());
    JournalIssuedReport(journal, QStringLiteral("/reports/NEL-2026-0001 ring.pdf"),
                        QByteArray(64, 'b'), QStringLiteral("NEL-2026-0001"));
    JournalIssuedReport(journal, QString(), QByteArray(), QStringLiteral("NEL-2026-0002"));
    journal.Close(RunEnd::Resumed, QStringLiteral("/runs/20240502-080000-golden ring.zebrun"));
}

// The shortest run: a plain open (no standard, resumes nothing) and the observer's close.
void WritePlainRun(CMemoryRunJournal& journal) {
    CRunJournalObserver observer(journal);
    observer.Open(ScriptedOpenInfo(false));
    observer.OnStepStarted(0, {"SV1000"});
    observer.OnStepEnded(0, kResultNone, 0);
    observer.OnClosed(RunOutcome::None);
}

TEST(JournalGolden, TodaysWriterWritesTheReferenceJournalsByteForByte) {
    CMemoryRunJournal scripted;
    test::UseFixedClock(scripted.Chain());
    WriteScriptedRun(scripted);
    const QByteArray scriptedGolden = Golden("scripted-run.zebrun");
    ASSERT_FALSE(scriptedGolden.isEmpty());
    EXPECT_EQ(scripted.Bytes(), scriptedGolden);
    // Line by line, so a difference names its event.
    const QList<QByteArray> goldenLines = scriptedGolden.split('\n');
    for (qsizetype i = 0; i < scripted.Lines().size() && i < goldenLines.size(); ++i) {
        EXPECT_EQ(scripted.Lines().at(i), goldenLines.at(i)) << "line " << i + 1;
    }

    CMemoryRunJournal plain;
    test::UseFixedClock(plain.Chain());
    WritePlainRun(plain);
    EXPECT_EQ(plain.Bytes(), Golden("plain-run.zebrun"));
}

TEST(JournalGolden, TheReferenceJournalsStillVerifyAndRestore) {
    QBuffer buffer;
    buffer.setData(Golden("scripted-run.zebrun"));
    buffer.open(QIODevice::ReadOnly);
    const JournalCheck check = ReadJournal(buffer);
    ASSERT_TRUE(check.IsWhole()) << check.Describe().toStdString();
    EXPECT_EQ(check.lines, 26);

    JournalState state;
    QString error;
    ASSERT_TRUE(ReadJournalState(QStringLiteral(ZEB_JOURNAL_GOLDEN_DIR "/scripted-run.zebrun"),
                                 state, error))
        << error.toStdString();
    EXPECT_EQ(state.stepCount, 3);
    EXPECT_EQ(state.results, (std::vector<int>{kResultPass, kResultNone, kResultFail}));
    // The comments were cleared after the judgements.
    EXPECT_EQ(state.comments, (std::vector<QString>{QString(), QString(), QString()}));
    EXPECT_EQ(state.ended, (std::vector<bool>{true, true, true}));
    EXPECT_TRUE(state.closed);
    EXPECT_EQ(state.outcome, "resumed");
    EXPECT_EQ(state.DocumentName(), "golden ring.zms");

    ASSERT_TRUE(
        ReadJournalState(QStringLiteral(ZEB_JOURNAL_GOLDEN_DIR "/plain-run.zebrun"), state, error))
        << error.toStdString();
    EXPECT_EQ(state.comments[0], "ältere Notiz");
    EXPECT_EQ(state.outcome, "closed");
}

}  // namespace

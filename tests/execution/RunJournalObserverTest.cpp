// The run's journal as the sequencer writes it through the observer: the order and content of
// the lines of a whole two-step run, the step start written before the instrument is told to
// start, and a journal that cannot be written told once without stopping the run.

#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include "JournalReader.h"
#include "JournalRecovery.h"
#include "LinkMessages.h"
#include "RunJournalObserver.h"
#include "SequencerFixture.h"
#include "ShippedProfiles.h"
#include "TestProperty.h"

namespace zeb::test {
namespace {

using namespace status;

QJsonObject LineAt(const CMemoryRunJournal& journal, int i) {
    return QJsonDocument::fromJson(journal.Lines().at(i)).object();
}

// Remembers, for every line, how many commands the instrument had received by then.
class WatchedJournal : public CMemoryRunJournal {
public:
    explicit WatchedJournal(const FakeInstrument& inst) : m_inst(inst) {}
    bool Event(const QString& name, const JournalFields& fields) override {
        sentBefore << m_inst.log;
        return CMemoryRunJournal::Event(name, fields);
    }
    QList<QStringList> sentBefore;

private:
    const FakeInstrument& m_inst;
};

class RunJournalTest : public SequencerFixture {
protected:
    // Both steps run to their end, then the report is written and the dialog closed.
    void RunBothSteps() {
        OpenIdle();
        timers.Fire(seq, 0);
        StartRun();
        Counters(2, 0);
        Status(kNormalEnd);
        timers.Fire(seq, 1);  // step 1 ended, step 2 sent and started
        sink.Expect(linkmsg::TestComplete());
        timers.Fire(seq, 1);  // step 2 ended: the test is complete
        seq.SetReportWriter([this] { return report; });
        sink.Expect(ReportQuestion(), MsgAnswer::Yes);
        EXPECT_TRUE(seq.OnClose());
        seq.Destroy();
    }
    QString report;
};

TEST_F(RunJournalTest, TwoStepRunIsJournalledInOrderWithOneBasedSteps) {
    QTemporaryDir dir;
    report = dir.filePath(QStringLiteral("r.xlsx"));
    QFile file(report);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("report bytes");
    file.close();

    WatchedJournal journal(inst);
    CRunJournalObserver observer(journal);
    ASSERT_TRUE(observer.Open(RunOpenInfo(doc, CTestProperty(), cntl)));
    seq.SetObserver(&observer);
    RunBothSteps();

    EXPECT_EQ(journal.EventNames(),
              (QStringList{"open", "judgement", "step-start", "step-end", "judgement", "judgement",
                           "step-start", "step-end", "judgement", "run-end", "report", "close"}));
    const QJsonObject open = LineAt(journal, 0);
    EXPECT_EQ(open.value("instrument").toString(), QStringLiteral("QABRAKMOOR, ZEB-M4-1"));
    EXPECT_EQ(open.value("port").toString(), QStringLiteral("COM1 (/dev/m40)"));
    EXPECT_EQ(open.value("steps").toArray().size(), 2);

    // Step 1 is cleared by the sequencer at START, then ends passed; step 2 likewise.
    EXPECT_EQ(LineAt(journal, 1).value("step").toInt(), 1);
    EXPECT_EQ(LineAt(journal, 1).value("by").toString(), QStringLiteral("sequencer"));
    const QJsonObject start2 = LineAt(journal, 6);
    EXPECT_EQ(start2.value("step").toInt(), 2);
    EXPECT_TRUE(start2.value("block").toArray().contains(QStringLiteral("PD200")))
        << journal.Lines().at(6).toStdString();
    const QJsonObject end2 = LineAt(journal, 7);
    EXPECT_EQ(end2.value("step").toInt(), 2);
    EXPECT_EQ(end2.value("discharges").toInt(), 2);
    EXPECT_EQ(LineAt(journal, 9).value("outcome").toString(), QStringLiteral("complete"));
    EXPECT_EQ(LineAt(journal, 10).value("sha256").toString(),
              QString::fromLatin1(Sha256Hex("report bytes")));
    EXPECT_EQ(LineAt(journal, 11).value("outcome").toString(), QStringLiteral("complete"));

    // Each step start is durable before its "CA" goes out.
    EXPECT_EQ(journal.sentBefore.at(2).count(QStringLiteral("CA")), 0);
    EXPECT_EQ(journal.sentBefore.at(6).count(QStringLiteral("CA")), 1);
    EXPECT_EQ(journal.sentBefore.at(8).count(QStringLiteral("CA")), 2);
    QBuffer bytes;
    bytes.setData(journal.Bytes());
    ASSERT_TRUE(bytes.open(QIODevice::ReadOnly));
    EXPECT_TRUE(ReadJournal(bytes).IsWhole());
}

TEST_F(RunJournalTest, TheOpenEventRecordsThePlansStandardAndItsFindings) {
    ShippedProfiles profiles;
    CMemoryRunJournal journal;
    EXPECT_FALSE(RunOpenInfo(doc, CTestProperty(), cntl).standard.contains("profile"));
    // The fixture's two steps: positive only, asynchronous, 1 discharge each.
    doc.SetStandard({QStringLiteral("iec61000-4-5-2005"), QStringLiteral("1"), 0});
    CRunJournalObserver observer(journal);
    ASSERT_TRUE(observer.Open(RunOpenInfo(doc, CTestProperty(), cntl)));
    const QJsonObject standard = LineAt(journal, 0).value("standard").toObject();
    EXPECT_EQ(standard.value("profile").toString(), QStringLiteral("iec61000-4-5-2005"));
    EXPECT_EQ(standard.value("title").toString(),
              ShippedProfiles::Title(QStringLiteral("iec61000-4-5-2005")));
    EXPECT_EQ(standard.value("level").toString(), QStringLiteral("1"));
    EXPECT_EQ(standard.value("voltage").toInt(), 500);
    const QJsonArray findings = standard.value("findings").toArray();
    ASSERT_FALSE(findings.isEmpty());
    const QJsonObject first = findings.at(0).toObject();
    EXPECT_EQ(first.value("rule").toString(), QStringLiteral("polarities"));
    EXPECT_EQ(first.value("severity").toString(), QStringLiteral("warning"));
    EXPECT_TRUE(first.value("citation").toString().startsWith(QStringLiteral("for a.c. power")));
    EXPECT_TRUE(first.value("steps").isArray());
    for (const QJsonValue& f : findings) {
        for (const QJsonValue& step : f.toObject().value("steps").toArray()) {
            EXPECT_TRUE(step.toInt() >= 1 && step.toInt() <= 2);
        }
    }
}

TEST_F(RunJournalTest, AJournalThatCannotBeWrittenIsToldOnceAndTheRunGoesOn) {
    CMemoryRunJournal journal;
    journal.SetFailing(true);
    CRunJournalObserver observer(journal);
    sink.ExpectAny();  // the one warning
    EXPECT_FALSE(observer.Open(RunOpenInfo(doc, CTestProperty(), cntl)));
    EXPECT_TRUE(sink.Shown().back().startsWith(QStringLiteral("The run journal cannot be")));
    seq.SetObserver(&observer);
    report = QStringLiteral("/nonexistent/r.xlsx");
    RunBothSteps();
    EXPECT_TRUE(observer.Failed());
    EXPECT_EQ(seq.Outcome(), RunOutcome::Complete);
    EXPECT_EQ(doc.Steps()[1].m_nResult, kResultPass);
    EXPECT_TRUE(journal.Lines().isEmpty());
}

TEST_F(RunJournalTest, ClosingWithoutATestAndAMonitorVerdictUseTheirOwnWords) {
    CMemoryRunJournal journal;
    CRunJournalObserver observer(journal);
    seq.SetObserver(&observer);
    OpenIdle();
    MonitorVerdict verdict = VerdictFromExit(1, "no ping\nmore", "");
    verdict.request.step = 1;
    verdict.durationMs = 42;
    EXPECT_TRUE(observer.RecordMonitorVerdict(verdict, kResultFail));
    seq.Destroy();
    EXPECT_EQ(journal.EventNames(), (QStringList{"monitor", "close"}));
    const QJsonObject monitor = LineAt(journal, 0);
    EXPECT_EQ(monitor.value("step").toInt(), 1);
    EXPECT_EQ(monitor.value("verdict").toString(), QStringLiteral("fail"));
    EXPECT_EQ(monitor.value("result").toString(), QStringLiteral("fail"));
    EXPECT_EQ(monitor.value("comment").toString(), QStringLiteral("monitor: no ping"));
    EXPECT_EQ(monitor.value("exit_status").toInt(), 1);
    EXPECT_EQ(monitor.value("duration_ms").toInt(), 42);
    EXPECT_EQ(monitor.value("output").toString(), QStringLiteral("no ping\nmore"));
    EXPECT_EQ(LineAt(journal, 1).value("outcome").toString(), QStringLiteral("closed"));
}

TEST_F(RunJournalTest, UnsavedEditsAreJournalledAsTheyAreRunNotAsTheFileOnDisk) {
    // A restore matches journals to the file by this hash: a run of unsaved edits must not
    // match the older file, or its results would land on steps they were not recorded for.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("doc.zms"));
    ASSERT_TRUE(doc.SaveNewFile(path));
    doc.SetPathName(path);
    doc.SetModifiedFlag(false);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString onDisk = Sha256Hex(file.readAll());
    EXPECT_EQ(RunOpenInfo(doc, CTestProperty(), cntl).documentSha256, onDisk);
    doc.Steps()[0].m_lVolt = 1500;
    doc.SetModifiedFlag();
    EXPECT_NE(RunOpenInfo(doc, CTestProperty(), cntl).documentSha256, onDisk);
    EXPECT_EQ(RunOpenInfo(doc, CTestProperty(), cntl).documentSha256, Sha256Hex(doc.Store()));
}

// A full disk in the middle of the run: the notice goes to whoever shows it without a message
// box, the polls go on at once, and the close line missing at the end is tried again later; the
// journal then never reads as a run that ended unexpectedly.
TEST_F(RunJournalTest, AFullDiskNeverHoldsThePollAndTheCloseIsTriedAgain) {
    QTemporaryDir dir;
    CRunJournalFile file;
    QString error;
    ASSERT_TRUE(file.Create(dir.filePath(QStringLiteral("run.zebrun")), error));
    bool full = false;
    file.File().SetSync([&full](int) { return !full; });
    QStringList notices;
    file.Observer().SetFailureListener([&notices](const QString& text) { notices << text; });
    ASSERT_TRUE(file.Open(RunOpenInfo(doc, CTestProperty(), cntl)));
    seq.SetObserver(&file.Observer());
    OpenIdle();
    timers.Fire(seq, 0);
    StartRun();
    full = true;
    Counters(2, 0);
    Status(kNormalEnd);
    timers.Fire(seq, 1);  // step 1 ends: its lines cannot be written
    ASSERT_EQ(notices.size(), 1);
    EXPECT_TRUE(notices[0].startsWith(QStringLiteral("The run journal cannot be written")));
    EXPECT_EQ(timers.ArmedPoll(), 1) << "the run poll goes on at once";
    EXPECT_EQ(doc.CurrentStep(), 1);
    sink.Expect(linkmsg::TestComplete());
    timers.Fire(seq, 1);
    seq.Destroy();
    EXPECT_EQ(notices.size(), 1) << "told once";

    JournalState state;
    ASSERT_TRUE(ReadJournalState(file.Path(), state, error)) << error.toStdString();
    EXPECT_FALSE(state.closed);
    EXPECT_TRUE(state.writeFailed);
    EXPECT_TRUE(RestoreQuestion(state).startsWith(
        QStringLiteral("The journal of this run could not be written after step 0.")));
    full = false;  // the disk has room again; the program tries once more
    EXPECT_EQ(RetryUnwrittenCloses(), 0);
    ASSERT_TRUE(ReadJournalState(file.Path(), state, error)) << error.toStdString();
    EXPECT_TRUE(state.closed);
    EXPECT_EQ(state.outcome, QStringLiteral("complete"));
}

}  // namespace
}  // namespace zeb::test

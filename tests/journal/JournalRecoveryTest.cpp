#include <gtest/gtest.h>
#include <QTemporaryDir>

#include "FileRunJournal.h"
#include "JournalRecovery.h"
#include "JournalSamples.h"

namespace {

using namespace zeb;
using namespace zeb::test;

const QByteArray kBytes = "document as saved";
const QString kDocPath = QStringLiteral("/lab/docs/dc ring.zms");

class JournalRecovery : public ::testing::Test {
protected:
    QString Write(const QString& name, const CMemoryRunJournal& journal) {
        const QString path = m_dir.filePath(name);
        EXPECT_TRUE(WriteBytes(path, journal.Bytes()));
        return path;
    }
    JournalState State(const QString& path) {
        JournalState state;
        QString error;
        EXPECT_TRUE(ReadJournalState(path, state, error)) << error.toStdString();
        return state;
    }

    QTemporaryDir m_dir;
    CZebM40SettingsDoc m_doc = SampleDocument();
};

TEST_F(JournalRecovery, FindsOnlyUnclosedJournalsOfTheSameDocumentBytes) {
    CMemoryRunJournal interrupted;
    UseFixedClock(interrupted.Chain());
    WriteSampleRun(interrupted, m_doc, kBytes);
    const QString path = Write("20240501-093000-dc ring.zebrun", interrupted);

    CMemoryRunJournal closed;
    WriteSampleRun(closed, m_doc, kBytes);
    closed.Close(RunEnd::Complete);
    Write("20240501-080000-dc ring.zebrun", closed);

    CMemoryRunJournal edited;  // the document was changed since
    WriteSampleRun(edited, m_doc, kBytes + "!");
    Write("20240501-070000-dc ring.zebrun", edited);
    Write("other.txt", interrupted);

    const std::vector<JournalState> found = FindUnclosedJournals(m_dir.path(), kDocPath, kBytes);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].path, path);
    EXPECT_EQ(found[0].lastStepEnded, 3);
    EXPECT_EQ(found[0].stepCount, 5);
    const QString date = QDateTime::fromSecsSinceEpoch(1714555800, Qt::UTC)
                             .toLocalTime()
                             .toString("yyyy/MM/dd HH:mm");
    EXPECT_EQ(RestoreQuestion(found[0]),
              QStringLiteral("The test run of dc ring.zms on %1 ended unexpectedly after step 3 "
                             "of 5. Restore its results and comments?")
                  .arg(date));
}

TEST_F(JournalRecovery, RestoreBringsBackWhatWasLastRecordedAndGoesOnAfterTheLastEndedStep) {
    CMemoryRunJournal journal;
    m_doc.Steps()[4].m_strComment = "stored before the run";
    WriteSampleRun(journal, m_doc, kBytes);
    const JournalState state = State(Write("a.zebrun", journal));

    CZebM40SettingsDoc doc = SampleDocument();
    QString error;
    ASSERT_TRUE(RestoreFromJournal(state, kBytes, doc, error)) << error.toStdString();
    EXPECT_EQ(doc.Steps()[0].m_nResult, kResultPass);
    EXPECT_EQ(doc.Steps()[0].m_strComment, "ok");
    EXPECT_EQ(doc.Steps()[1].m_nResult, kResultPass) << "the later judgement wins";
    EXPECT_EQ(doc.Steps()[1].m_strComment, "recovered, \"no\" damage\n2nd line");
    EXPECT_EQ(doc.Steps()[2].m_nResult, kResultPass);
    EXPECT_EQ(doc.Steps()[3].m_nResult, kResultNone) << "started, never ended";
    EXPECT_EQ(doc.Steps()[4].m_strComment, "stored before the run");
    EXPECT_EQ(doc.CurrentStep(), 3);
    EXPECT_TRUE(doc.IsModified());

    // Other bytes, or another number of steps: nothing is applied.
    CZebM40SettingsDoc untouched = SampleDocument();
    EXPECT_FALSE(RestoreFromJournal(state, kBytes + " edited", untouched, error));
    CZebM40SettingsDoc shorter = SampleDocument(4);
    EXPECT_FALSE(RestoreFromJournal(state, kBytes, shorter, error));
    EXPECT_EQ(untouched.Steps()[0].m_nResult, kResultNone);
    EXPECT_FALSE(untouched.IsModified());
    EXPECT_FALSE(shorter.IsModified());
}

TEST_F(JournalRecovery, ClearedCommentsAndResumedRunsReplayInOrder) {
    CMemoryRunJournal journal;
    m_doc.SetCurrentStep(2);  // the run started at step 3
    journal.Open(SampleOpenInfo(m_doc, kBytes));
    journal.Judgement(3, kResultFail, "first", JudgedBy::Bulk);
    journal.CommentsCleared();
    journal.StepStart(3, {});
    journal.StepEnd(3, kResultPass, 2);
    journal.StepEnd(4, kResultFail, 5);
    journal.StepEnd(5, kResultPass, 5);
    JournalState state = State(Write("a.zebrun", journal));
    EXPECT_TRUE(state.comments[2].isEmpty());
    EXPECT_EQ(state.results[2], kResultPass);
    EXPECT_EQ(state.firstNotEnded, 0) << "after the last step, the first step never ended";

    // A run that continues another carries its ended steps and results in the open line.
    CZebM40SettingsDoc restored = SampleDocument();
    QString error;
    ASSERT_TRUE(RestoreFromJournal(state, kBytes, restored, error));
    JournalOpenInfo info = SampleOpenInfo(restored, kBytes);
    info.resumesJournal = state.path;
    info.endedSteps = {3, 4, 5};
    CMemoryRunJournal resumed;
    resumed.Open(info);
    resumed.StepEnd(1, kResultPass, 5);
    state = State(Write("b.zebrun", resumed));
    EXPECT_EQ(state.results[3], kResultFail);
    EXPECT_EQ(state.firstNotEnded, 1);
    EXPECT_EQ(state.open.value("resumes").toString(), m_dir.filePath("a.zebrun"));
}

TEST_F(JournalRecovery, DecliningClosesTheJournalAsAbandonedAndKeepsIt) {
    CMemoryRunJournal journal;
    WriteSampleRun(journal, m_doc, kBytes);
    const QString path = Write("a.zebrun", journal);
    QString error;
    ASSERT_TRUE(CloseAbandoned(path, error)) << error.toStdString();
    const JournalState state = State(path);
    EXPECT_TRUE(state.closed);
    EXPECT_EQ(state.outcome, "abandoned");
    EXPECT_TRUE(ReadBytes(path).startsWith(journal.Bytes()));
    EXPECT_TRUE(FindUnclosedJournals(m_dir.path(), kDocPath, kBytes).empty());
    EXPECT_FALSE(CloseAbandoned(path, error)) << "closed once only";
    EXPECT_FALSE(CloseAbandoned(m_dir.filePath("missing.zebrun"), error));
}

// A step whose last discharge was done while the EUT monitor had not yet judged it: interrupted
// there, it is not ended and has no result; the verdict, once journalled, ends it.
TEST_F(JournalRecovery, AStepWaitingForItsVerdictIsNotEndedAndSaysWhy) {
    CMemoryRunJournal journal;
    journal.Open(SampleOpenInfo(m_doc, kBytes));
    journal.StepStart(1, {});
    journal.StepEnd(1, kJournalResultPending, 5);
    journal.Judgement(1, kResultPass, QString(), JudgedBy::Monitor);
    journal.StepStart(2, {});
    journal.StepEnd(2, kJournalResultPending, 5);
    journal.Judgement(2, kResultNone, "operator's note\nmonitor: answered 500", JudgedBy::Monitor);
    journal.StepStart(3, {});
    journal.Judgement(3, kResultFail, "operator's note", JudgedBy::Operator);
    journal.StepEnd(3, kJournalResultPending, 5);
    const JournalState state = State(Write("a.zebrun", journal));
    EXPECT_EQ(state.results[0], kResultPass);
    EXPECT_TRUE(state.ended[0]);
    EXPECT_TRUE(state.ended[1]) << "a problem answered is an end";
    EXPECT_FALSE(state.ended[2]);
    EXPECT_EQ(state.results[2], kResultNone);
    EXPECT_EQ(state.comments[2], "operator's note\nmonitor: no verdict, the run was interrupted");
    EXPECT_EQ(state.lastStepEnded, 2);
    EXPECT_EQ(state.firstNotEnded, 2) << "the continued run does step 3 again";

    CMemoryRunJournal bad;
    bad.Open(SampleOpenInfo(m_doc, kBytes));
    bad.Judgement(1, kJournalResultPending, QString(), JudgedBy::Operator);
    JournalState refused;
    QString error;
    EXPECT_FALSE(ReadJournalState(Write("b.zebrun", bad), refused, error));
}

// A journal belongs to the document at the path it recorded, whatever other file has the same
// bytes; a link to that path is the same document. A journal that does not verify is named.
TEST_F(JournalRecovery, OnlyTheRecordedDocumentIsOfferedItsRunAndBrokenOnesAreNamed) {
    const QString original = m_dir.filePath("eut a.zms");
    ASSERT_TRUE(WriteBytes(original, kBytes));
    m_doc.SetPathName(original);
    CMemoryRunJournal journal;
    WriteSampleRun(journal, m_doc, kBytes);
    const QString path = Write("20240501-093000-eut a.zebrun", journal);

    const QString copy = m_dir.filePath("eut b.zms");
    ASSERT_TRUE(WriteBytes(copy, kBytes));
    EXPECT_TRUE(FindUnclosedJournals(m_dir.path(), copy, kBytes).empty());
    const QString link = m_dir.filePath("link.zms");
    ASSERT_TRUE(QFile::link(original, link));
    EXPECT_EQ(FindUnclosedJournals(m_dir.path(), link, kBytes).size(), 1u);

    QByteArray tampered = journal.Bytes();
    tampered.replace("SV600", "SV900");
    const QString bad = Write("20240501-100000-eut a.zebrun", journal);
    ASSERT_TRUE(WriteBytes(bad, tampered));
    std::vector<BrokenJournal> broken;
    const std::vector<JournalState> found =
        FindUnclosedJournals(m_dir.path(), original, kBytes, &broken);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].path, path);
    ASSERT_EQ(broken.size(), 1u);
    EXPECT_EQ(broken[0].path, bad);
    EXPECT_TRUE(BrokenJournalNotice(broken[0]).contains("chain broken at seq 4"))
        << BrokenJournalNotice(broken[0]).toStdString();
    EXPECT_EQ(ReadBytes(bad), tampered) << "never changed";
    broken.clear();
    FindUnclosedJournals(m_dir.path(), copy, kBytes, &broken);
    EXPECT_TRUE(broken.empty()) << "another document's journals are not its business";
}

// The restored run goes on in a new journal: the old one is closed as resumed, naming it, and a
// journal stopped by a write failure is not said to have ended unexpectedly.
TEST_F(JournalRecovery, ContinuingClosesTheOldJournalAsResumedAndWriteFailuresAreTold) {
    CMemoryRunJournal journal;
    WriteSampleRun(journal, m_doc, kBytes);
    const QString old = Write("a.zebrun", journal);
    CZebM40SettingsDoc doc = SampleDocument();
    QString error;
    ASSERT_TRUE(RestoreFromJournal(State(old), kBytes, doc, error));
    EXPECT_EQ(doc.Resume().journal, old);
    EXPECT_EQ(doc.Resume().endedSteps, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(doc.Resume().step, 3);
    JournalOpenInfo info;
    NoteResumedRun(doc, info.resumesJournal, info.endedSteps);
    EXPECT_EQ(info.resumesJournal, old);

    const QString next = m_dir.filePath("b.zebrun");
    ASSERT_TRUE(ContinueResumedRun(doc, next, error)) << error.toStdString();
    const JournalState closed = State(old);
    EXPECT_TRUE(closed.closed);
    EXPECT_EQ(closed.outcome, "resumed");
    EXPECT_TRUE(ReadBytes(old).contains(R"("resumed_by":")" + next.toUtf8()));
    EXPECT_EQ(doc.Resume().journal, next) << "a test not started yet goes on from the new one";

    CMemoryRunJournal stopped;
    WriteSampleRun(stopped, m_doc, kBytes);
    const QString failed = Write("c.zebrun", stopped);
    ASSERT_TRUE(WriteBytes(WriteFailureMarkerPath(failed), QByteArray()));
    EXPECT_EQ(RestoreQuestion(State(failed)),
              "The journal of this run could not be written after step 3. Its results up to "
              "then can be restored.\n\nRestore its results and comments?");
}

}  // namespace

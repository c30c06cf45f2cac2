#include <gtest/gtest.h>
#include <QTemporaryDir>

#include "FileRunJournal.h"
#include "JournalRecovery.h"
#include "JournalSamples.h"

namespace {

using namespace zeb;
using namespace zeb::test;

const QByteArray kBytes = "document as saved";

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

    const std::vector<JournalState> found = FindUnclosedJournals(m_dir.path(), kBytes);
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
    EXPECT_TRUE(FindUnclosedJournals(m_dir.path(), kBytes).empty());
    EXPECT_FALSE(CloseAbandoned(path, error)) << "closed once only";
    EXPECT_FALSE(CloseAbandoned(m_dir.filePath("missing.zebrun"), error));
}

}  // namespace

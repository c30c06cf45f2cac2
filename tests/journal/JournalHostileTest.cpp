#include <gtest/gtest.h>
#include <QTemporaryDir>

#include "FileRunJournal.h"
#include "JournalRecovery.h"
#include "JournalSamples.h"

namespace {

using namespace zeb;
using namespace zeb::test;

const QByteArray kDocumentBytes = "the document's bytes";
const QString kDocPath = QStringLiteral("/lab/docs/dc ring.zms");

// The sample run's journal as written, and the same bytes damaged in one way.
class HostileJournal : public ::testing::Test {
protected:
    void SetUp() override {
        WriteSampleRun(m_journal, SampleDocument(), kDocumentBytes);
        m_lines = m_journal.Lines();
    }
    QByteArray Joined(const QList<QByteArray>& lines) const {
        QByteArray all;
        for (const QByteArray& line : lines) {
            all += line + '\n';
        }
        return all;
    }
    // Writes the damaged journal and checks that it is named as broken at badSeq, that a
    // restore never finds or applies it and that it is never appended to.
    void ExpectRefused(const QByteArray& bytes, qint64 badSeq, const char* why) {
        SCOPED_TRACE(why);
        const QString path = m_dir.filePath("run.zebrun");
        ASSERT_TRUE(WriteBytes(path, bytes));
        const JournalCheck check = ReadJournalFile(path);
        EXPECT_EQ(check.status, JournalCheck::Broken) << check.Describe().toStdString();
        EXPECT_EQ(check.badSeq, badSeq) << check.Describe().toStdString();
        EXPECT_TRUE(check.why.contains(why)) << check.why.toStdString();

        JournalState state;
        QString error;
        EXPECT_FALSE(ReadJournalState(path, state, error));
        EXPECT_TRUE(FindUnclosedJournals(m_dir.path(), kDocPath, kDocumentBytes).empty());
        EXPECT_FALSE(CloseAbandoned(path, error));
        EXPECT_EQ(ReadBytes(path), bytes) << "a broken journal is left as it is";
    }

    QTemporaryDir m_dir;
    CMemoryRunJournal m_journal;
    QList<QByteArray> m_lines;
};

TEST_F(HostileJournal, TheIntactJournalIsWholeAndFound) {
    const QString path = m_dir.filePath("run.zebrun");
    ASSERT_TRUE(WriteBytes(path, Joined(m_lines)));
    EXPECT_TRUE(ReadJournalFile(path).IsWhole());
    EXPECT_EQ(FindUnclosedJournals(m_dir.path(), kDocPath, kDocumentBytes).size(), 1u);
}

TEST_F(HostileJournal, EachKindOfDamageIsNamedAndRefused) {
    QList<QByteArray> flipped = m_lines;
    flipped[6].replace("\"pass\"", "\"fail\"");  // step 3's result, still valid JSON
    ExpectRefused(Joined(flipped), 7, "was changed");

    QList<QByteArray> flippedHash = m_lines;
    char& digit = flippedHash[4][flippedHash[4].size() - 3];  // a digit of seq 5's prev
    digit = digit == '0' ? '1' : '0';
    ExpectRefused(Joined(flippedHash), 4, "was changed");

    QList<QByteArray> removed = m_lines;
    removed.removeAt(3);
    ExpectRefused(Joined(removed), 4, "carries seq 5");

    QList<QByteArray> swapped = m_lines;
    swapped.swapItemsAt(4, 5);
    ExpectRefused(Joined(swapped), 5, "carries seq 6");

    QList<QByteArray> headless = m_lines;
    headless.removeFirst();
    ExpectRefused(Joined(headless), 1, "carries seq 2");

    QList<QByteArray> huge = m_lines;
    huge.insert(3, QByteArray(10 * 1024 * 1024, 'x'));
    ExpectRefused(Joined(huge), 4, "longer than");
    // Without any line feed at all, a huge file is refused just the same.
    ExpectRefused(QByteArray(10 * 1024 * 1024, '{'), 1, "longer than");

    ExpectRefused("PK\x03\x04 not a journal\n\xff\xfe", 1, "not a JSON object");
    ExpectRefused("[1,2,3]\n", 1, "not a JSON object");
    ExpectRefused("", 1, "empty");
    ExpectRefused(m_lines[0].left(100), 1, "no whole line");
}

// A crash can cut off the line being written; that is the one damage tolerated: the line is
// skipped and the check says so, and the run it records can still be restored.
TEST_F(HostileJournal, ALastLineCutOffByACrashIsSkippedAndSaid) {
    const QString path = m_dir.filePath("run.zebrun");
    const QByteArray all = Joined(m_lines);
    ASSERT_TRUE(WriteBytes(path, all.left(all.size() - 20)));
    const JournalCheck check = ReadJournalFile(path);
    ASSERT_TRUE(check.IsWhole());
    EXPECT_EQ(check.lines, m_lines.size() - 1);
    EXPECT_EQ(check.cutBytes, m_lines.back().size() - 19);
    EXPECT_TRUE(check.Describe().contains("cut off"));
    EXPECT_EQ(FindUnclosedJournals(m_dir.path(), kDocPath, kDocumentBytes).size(), 1u);
}

// Someone who recomputes every hash can still not make the program apply nonsense.
TEST_F(HostileJournal, AWellChainedJournalWithImpossibleStepsIsNotApplied) {
    CMemoryRunJournal forged;
    forged.Open(SampleOpenInfo(SampleDocument(), kDocumentBytes));
    forged.StepEnd(99, kResultPass, 5);
    const QString path = m_dir.filePath("run.zebrun");
    ASSERT_TRUE(WriteBytes(path, forged.Bytes()));
    ASSERT_TRUE(ReadJournalFile(path).IsWhole());
    JournalState state;
    QString error;
    EXPECT_FALSE(ReadJournalState(path, state, error));
    EXPECT_TRUE(error.contains("step 99")) << error.toStdString();
    EXPECT_TRUE(FindUnclosedJournals(m_dir.path(), kDocPath, kDocumentBytes).empty());

    CMemoryRunJournal notOpened;
    notOpened.Stop();
    ASSERT_TRUE(WriteBytes(path, notOpened.Bytes()));
    EXPECT_FALSE(ReadJournalState(path, state, error));
}

}  // namespace

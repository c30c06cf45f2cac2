#include <gtest/gtest.h>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QTemporaryDir>

#include <sys/resource.h>
#include <csignal>

#include "FileRunJournal.h"
#include "JournalReader.h"
#include "JournalSamples.h"

namespace {

using namespace zeb;
using namespace zeb::test;

std::vector<JournalEntry> ReadAll(const QByteArray& bytes, JournalCheck& check) {
    std::vector<JournalEntry> entries;
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    check = ReadJournal(buffer, [&](const JournalEntry& e) { entries.push_back(e); });
    return entries;
}

TEST(JournalWrite, EveryEventRoundTripsThroughTheReaderWithItsChain) {
    const CZebM40SettingsDoc doc = SampleDocument();
    CMemoryRunJournal journal;
    UseFixedClock(journal.Chain());
    WriteSampleRun(journal, doc, "doc bytes");
    journal.CommentsCleared();
    journal.Error(3, QStringLiteral("Over voltage"));
    journal.LinkLost();
    journal.Stop();
    journal.Report(QStringLiteral("/r/ä.xlsx"), "ab12");
    journal.Event(QStringLiteral("monitor"), {{"verdict", "alive"}, {"step", 4}});
    journal.Close(RunEnd::NoLink);

    JournalCheck check;
    const std::vector<JournalEntry> entries = ReadAll(journal.Bytes(), check);
    ASSERT_TRUE(check.IsWhole()) << check.Describe().toStdString();
    ASSERT_EQ(entries.size(), journal.Lines().size());
    EXPECT_EQ(check.lines, 17);
    EXPECT_EQ(check.lastHash, Sha256Hex(journal.Lines().back()));

    // Fixed field order: seq, time, event, the event's fields, prev.
    const QByteArray& first = journal.Lines().at(0);
    EXPECT_TRUE(first.startsWith(
        R"({"seq":1,"time":"2024-05-01T09:30:00.250Z","event":"open","version":")"));
    EXPECT_TRUE(first.endsWith(QByteArray(R"(,"prev":")") + journal::kZeroHash + "\"}"));
    EXPECT_EQ(entries[1].line.value("prev").toString().toLatin1(), Sha256Hex(first));

    const QJsonObject& open = entries[0].line;
    EXPECT_EQ(open.value("document_sha256").toString().toLatin1(), Sha256Hex("doc bytes"));
    EXPECT_EQ(open.value("steps").toArray().size(), 5);
    EXPECT_EQ(open.value("steps").toArray().at(4).toObject().value("m_lVolt").toInt(), 900);
    EXPECT_EQ(open.value("environment").toObject().value("m_strOperator").toString(), "Jürgen");
    EXPECT_EQ(open.value("port").toString(), "COM1 (/dev/pts/3)");

    const QJsonObject& judgement = entries[7].line;
    EXPECT_EQ(entries[7].event, "judgement");
    EXPECT_EQ(judgement.value("comment").toString(), "recovered, \"no\" damage\n2nd line");
    EXPECT_EQ(judgement.value("by").toString(), "operator");
    EXPECT_EQ(entries[1].line.value("block").toArray().at(0).toString(), "SV500");
    EXPECT_EQ(entries[2].line.value("result").toString(), "pass");
    EXPECT_EQ(entries.back().line.value("outcome").toString(), "no-link");
    EXPECT_EQ(entries[14].line.value("path").toString(), "/r/ä.xlsx");
    // A comment's line feed stays inside its line.
    EXPECT_EQ(journal.Bytes().count('\n'), 17);
}

TEST(JournalWrite, ReservedFieldNamesAndWriteFailuresAreReportedNotRecorded) {
    CMemoryRunJournal journal;
    EXPECT_FALSE(journal.Event("monitor", {{"seq", 7}}));
    EXPECT_FALSE(journal.LastError().isEmpty());
    journal.SetFailing(true);
    EXPECT_FALSE(journal.Stop());
    EXPECT_TRUE(journal.LastError().contains("No space"));
    journal.SetFailing(false);
    EXPECT_TRUE(journal.Stop());
    EXPECT_EQ(journal.Lines().size(), 1);
    EXPECT_TRUE(journal.Lines().at(0).startsWith(R"({"seq":1,)"));
}

TEST(JournalFile, WritesTheSameBytesAsTheChainAndNeverReplacesAFile) {
    QTemporaryDir dir;
    const CZebM40SettingsDoc doc = SampleDocument();
    CMemoryRunJournal memory;
    UseFixedClock(memory.Chain());
    WriteSampleRun(memory, doc, "x");

    const QString path = dir.filePath("runs/a.zebrun");
    CFileRunJournal file;
    QString error;
    ASSERT_TRUE(file.Create(path, error)) << error.toStdString();  // makes the folder
    EXPECT_FALSE(QFile::exists(path)) << "nothing exists before the first line";
    UseFixedClock(file.Chain());
    WriteSampleRun(file, doc, "x");
    EXPECT_EQ(ReadBytes(path), memory.Bytes());
    EXPECT_EQ(QDir(dir.filePath("runs")).entryList(QDir::Files | QDir::Hidden).size(), 1)
        << "no temporary file is left";

    CFileRunJournal second;
    EXPECT_FALSE(second.Create(path, error));
    // Taken between Create and the first line: the file that got there first stays.
    CFileRunJournal racing;
    ASSERT_TRUE(racing.Create(dir.filePath("runs/b.zebrun"), error));
    WriteBytes(dir.filePath("runs/b.zebrun"), "keep");
    EXPECT_FALSE(racing.Stop());
    EXPECT_EQ(ReadBytes(dir.filePath("runs/b.zebrun")), "keep");
}

TEST(JournalFile, AppendingContinuesTheChainAndDropsOnlyACutOffLastLine) {
    QTemporaryDir dir;
    const QString path = dir.filePath("a.zebrun");
    CMemoryRunJournal memory;
    WriteSampleRun(memory, SampleDocument(), "x");
    const QByteArray whole = memory.Bytes();
    const QByteArray cut = R"({"seq":11,"time":"2024-)";
    ASSERT_TRUE(WriteBytes(path, whole + cut));

    CFileRunJournal journal;
    QString error;
    ASSERT_TRUE(journal.Append(path, error)) << error.toStdString();
    EXPECT_EQ(journal.CutBytes(), cut.size());
    ASSERT_TRUE(journal.Close(RunEnd::Abandoned));
    const JournalCheck check = ReadJournalFile(path);
    EXPECT_TRUE(check.IsWhole()) << check.Describe().toStdString();
    EXPECT_EQ(check.lines, 11);
    EXPECT_EQ(check.cutBytes, 0);
    EXPECT_TRUE(ReadBytes(path).startsWith(whole));

    // A broken journal is never continued.
    QByteArray broken = whole;
    broken[broken.indexOf("SV500") + 2] = '9';
    ASSERT_TRUE(WriteBytes(path, broken));
    CFileRunJournal refused;
    EXPECT_FALSE(refused.Append(path, error));
    EXPECT_EQ(ReadBytes(path), broken);
}

// A write that fails halfway (here: the file size limit) leaves no piece of the line behind,
// so the next event continues a whole chain.
TEST(JournalFile, AFailedWriteIsCutOffAndTheChainGoesOn) {
    QTemporaryDir dir;
    const QString path = dir.filePath("a.zebrun");
    CFileRunJournal journal;
    QString error;
    ASSERT_TRUE(journal.Create(path, error));
    ASSERT_TRUE(journal.Stop());
    const qint64 size = QFileInfo(path).size();

    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto* previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = static_cast<rlim_t>(size + 40);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = journal.Error(1, QString(500, QLatin1Char('x')));
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);

    EXPECT_FALSE(written);
    EXPECT_FALSE(journal.LastError().isEmpty());
    EXPECT_EQ(QFileInfo(path).size(), size);
    EXPECT_TRUE(journal.LinkLost());
    const JournalCheck check = ReadJournalFile(path);
    EXPECT_TRUE(check.IsWhole()) << check.Describe().toStdString();
    EXPECT_EQ(check.lines, 2);
}

// Every line is made durable before the call that wrote it returns; a sync that fails (a full
// disk) is a failed write like any other: cut off again, marked beside the journal, and after an
// append over a line cut off by a crash the file still ends on a whole line.
TEST(JournalFile, EachLineIsSyncedOnceBeforeItCountsAndAFailedSyncIsCutOff) {
    QTemporaryDir dir;
    const QString path = dir.filePath("a.zebrun");
    CFileRunJournal journal;
    QString error;
    ASSERT_TRUE(journal.Create(path, error));
    int syncs = 0;
    qint64 sizeAtSync = -1;
    journal.SetSync([&](int) {
        ++syncs;
        sizeAtSync = QFileInfo(path).exists() ? QFileInfo(path).size() : -1;
        return true;
    });
    ASSERT_TRUE(journal.Stop());  // the first line: synced under its temporary name
    EXPECT_EQ(syncs, 1);
    ASSERT_TRUE(journal.LinkLost());
    EXPECT_EQ(syncs, 2);
    EXPECT_EQ(sizeAtSync, QFileInfo(path).size()) << "synced with the whole line written";

    // Continued over a line a crash cut off, then a write that cannot be made durable.
    const QByteArray whole = ReadBytes(path);
    ASSERT_TRUE(WriteBytes(path, whole + R"({"seq":3,"time":"2024-05-01T09:3)"));
    CFileRunJournal appended;
    ASSERT_TRUE(appended.Append(path, error)) << error.toStdString();
    bool full = true;
    appended.SetSync([&](int) { return !full; });
    EXPECT_FALSE(appended.Error(28, QStringLiteral("No space left on device")));
    EXPECT_EQ(ReadBytes(path), whole);
    EXPECT_TRUE(QFile::exists(WriteFailureMarkerPath(path)));
    full = false;
    ASSERT_TRUE(appended.Close(RunEnd::Complete));
    const JournalCheck check = ReadJournalFile(path);
    EXPECT_TRUE(check.IsWhole()) << check.Describe().toStdString();
    EXPECT_EQ(check.lines, 3);
    EXPECT_FALSE(QFile::exists(WriteFailureMarkerPath(path))) << "closed: whole again";
}

TEST(JournalFile, NamesCarryTheMomentAndTheDocument) {
    const QDateTime moment(QDate(2024, 5, 1), QTime(9, 30, 5));
    EXPECT_EQ(JournalFileName("dc ring", moment), "20240501-093005-dc ring.zebrun");
    EXPECT_EQ(JournalFileName("a/b:c\n", moment), "20240501-093005-a_b_c_.zebrun");
    EXPECT_EQ(JournalFileName("", moment), "20240501-093005-Test.zebrun");
    EXPECT_EQ(JournalFileName(QString(300, 'n'), moment).size(), 16 + 100 + 7);

    QTemporaryDir dir;
    const QString first = NewJournalPath(dir.path(), "t", moment);
    EXPECT_EQ(first, dir.filePath("20240501-093005-t.zebrun"));
    WriteBytes(first, "x");
    EXPECT_EQ(NewJournalPath(dir.path(), "t", moment),
              dir.filePath("20240501-093005-t (2).zebrun"));
    EXPECT_TRUE(DefaultJournalFolder().endsWith("/runs"));
}

}  // namespace

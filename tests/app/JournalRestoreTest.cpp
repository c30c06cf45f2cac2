// The restore question at opening: of several interrupted runs of a document, the newest is
// offered first, since it holds the results the operator saw last.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "FileRunJournal.h"
#include "JournalRecovery.h"
#include "JournalRestore.h"
#include "ScriptedMessageSink.h"
#include "SettingsDoc.h"

namespace zeb {
namespace {

TEST(JournalRestoreTest, TheNewestInterruptedRunIsOfferedFirst) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("eut.zms"));
    CZebM40SettingsDoc doc;
    ASSERT_TRUE(doc.OnNewDocument(5, 1));
    doc.Record().m_ulPola = 3;  // both polarities: two steps
    doc.ApplyRecord(doc.Record());
    ASSERT_TRUE(doc.OnSaveDocument(path));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();

    // Two runs killed at different points: the later one got a step further.
    QStringList questions;
    for (const auto& [name, ended] :
         {std::pair{"20240501-080000-eut.zebrun", 1}, std::pair{"20240502-080000-eut.zebrun", 2}}) {
        const QString journalPath = dir.filePath(QString::fromLatin1(name));
        CFileRunJournal journal;
        QString error;
        ASSERT_TRUE(journal.Create(journalPath, error)) << error.toStdString();
        journal.Open(OpenInfoForDocument(doc, bytes));
        for (int step = 1; step <= ended; ++step) {
            journal.StepStart(step, {});
            journal.StepEnd(step, kResultPass, 1);
            journal.Judgement(step, kResultPass, QStringLiteral("run %1").arg(ended),
                              JudgedBy::Operator);
        }
        JournalState state;
        ASSERT_TRUE(ReadJournalState(journalPath, state, error)) << error.toStdString();
        questions.prepend(RestoreQuestion(state));
    }
    ASSERT_NE(questions[0], questions[1]);

    {
        test::ScriptedMessageSink sink;
        sink.Expect(questions[0], MsgAnswer::Cancel);
        sink.Expect(questions[1], MsgAnswer::Cancel);
        EXPECT_FALSE(OfferJournalRestore(dir.path(), path, doc));
    }
    test::ScriptedMessageSink sink;
    sink.Expect(questions[0], MsgAnswer::Yes);
    ASSERT_TRUE(OfferJournalRestore(dir.path(), path, doc));
    EXPECT_EQ(doc.Steps()[1].m_nResult, kResultPass);
    EXPECT_EQ(doc.Steps()[1].m_strComment, QStringLiteral("run 2"));
}

}  // namespace
}  // namespace zeb

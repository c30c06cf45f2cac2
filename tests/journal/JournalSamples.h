#pragma once
// A small run recorded in a journal: a document of five steps, the test environment, and the
// events of steps 1 to 3 with judgements, as the sequencer would report them.

#include <QDateTime>
#include <QFile>

#include "RunJournal.h"
#include "SettingsDoc.h"
#include "TestPropertyJson.h"

namespace zeb::test {

inline CZebM40SettingsDoc SampleDocument(int steps = 5) {
    CZebM40SettingsDoc doc;
    doc.OnNewDocument(5, 0);
    CExecData step = doc.Record().TemplateStep();
    doc.Steps().clear();
    for (int i = 0; i < steps; ++i) {
        step.m_lVolt = 500 + 100 * i;
        step.m_nPola = i % 2;
        doc.Steps().push_back(step);
    }
    doc.SetPathName(QStringLiteral("/lab/docs/dc ring.zms"));
    return doc;
}

inline CTestProperty SampleEnvironment() {
    CTestProperty p;
    p.m_strCompanyName = QStringLiteral("Acme Labs");
    p.m_strModel = QStringLiteral("0042");
    p.m_strOperator = QStringLiteral("Jürgen");
    p.m_strEutComment = QStringLiteral("'quoted");
    p.m_tmTestDate = 1714555800;
    return p;
}

// A clock that advances 250 ms per call from a fixed moment.
inline void UseFixedClock(CJournalChain& chain) {
    auto moment = std::make_shared<QDateTime>(QDateTime::fromSecsSinceEpoch(1714555800, Qt::UTC));
    chain.SetClock([moment] {
        *moment = moment->addMSecs(250);
        return *moment;
    });
}

inline JournalOpenInfo SampleOpenInfo(const CZebM40SettingsDoc& doc, const QByteArray& bytes) {
    JournalOpenInfo info = OpenInfoForDocument(doc, bytes);
    info.environment = TestPropertyToJson(SampleEnvironment());
    info.instrumentReply = QStringLiteral("ZEB-M40 V1.2");
    info.port = QStringLiteral("COM1 (/dev/pts/3)");
    return info;
}

// open, then steps 1 to 3 started and ended (1 pass, 2 fail, 3 pass), a judgement that turns
// step 2 to pass with a comment, a comment on step 1, and step 4 started but not ended.
inline void WriteSampleRun(IRunJournal& journal, const CZebM40SettingsDoc& doc,
                           const QByteArray& bytes) {
    journal.Open(SampleOpenInfo(doc, bytes));
    const int results[] = {kResultPass, kResultFail, kResultPass};
    for (int step = 1; step <= 3; ++step) {
        journal.StepStart(step, {QStringLiteral("SV%1").arg(400 + 100 * step), "SP1"});
        journal.StepEnd(step, results[step - 1], 5);
    }
    journal.Judgement(2, kResultPass, QStringLiteral("recovered, \"no\" damage\n2nd line"),
                      JudgedBy::Operator);
    journal.Judgement(1, kResultPass, QStringLiteral("ok"), JudgedBy::Operator);
    journal.StepStart(4, {"SV800"});
}

inline bool WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

inline QByteArray ReadBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace zeb::test

// The journal's table of events against what is written and what is documented: every line the
// writer makes fits the table field for field and in its order, the words it writes are the
// table's, and the README's event table names exactly the table's events and fields.

#include <gtest/gtest.h>
#include <QFile>
#include <QJsonArray>
#include <QRegularExpression>

#include <map>
#include <set>

#include "EutMonitor.h"
#include "ExecData.h"
#include "JournalSamples.h"
#include "JournalSchema.h"
#include "RunJournal.h"

namespace {

using namespace zeb;

// Keeps each event as the writer hands it over: the name and the fields in their order.
class CRecordingJournal : public IRunJournal {
public:
    bool Event(const QString& name, const JournalFields& fields) override {
        events.emplace_back(name, fields);
        return true;
    }
    QString LastError() const override { return QString(); }

    std::vector<std::pair<QString, JournalFields>> events;
};

bool HasType(const QJsonValue& value, JournalFieldType type) {
    switch (type) {
        case JournalFieldType::Integer:
            return value.isDouble() && value.toDouble() == static_cast<double>(value.toInteger());
        case JournalFieldType::Text:
            return value.isString();
        case JournalFieldType::Boolean:
            return value.isBool();
        case JournalFieldType::List:
            return value.isArray();
        case JournalFieldType::Object:
            return value.isObject();
    }
    return false;
}

// What is wrong with an event against the table; empty when it fits.
QStringList Misfits(const QString& name, const JournalFields& fields) {
    const JournalEventRow* row = FindJournalEventRow(name);
    if (!row) {
        return {name + ": not in the table"};
    }
    QStringList wrong;
    size_t at = 0;  // the table's fields are met in order
    for (const auto& [key, value] : fields) {
        while (at < row->fields.size() && key != QLatin1String(row->fields[at].name)) {
            if (row->fields[at].required) {
                wrong << QStringLiteral("%1: %2 missing").arg(name, row->fields[at].name);
            }
            ++at;
        }
        if (at == row->fields.size()) {
            wrong << QStringLiteral("%1: %2 unknown or out of order").arg(name, key);
            break;
        }
        const JournalFieldRow& field = row->fields[at++];
        if (!HasType(value, field.type)) {
            wrong << QStringLiteral("%1: %2 is no %3")
                         .arg(name, key, JournalFieldTypeText(field.type));
        } else if (!field.values.isEmpty() && !field.values.contains(value.toString())) {
            wrong << QStringLiteral("%1: %2 \"%3\"").arg(name, key, value.toString());
        }
    }
    for (; at < row->fields.size(); ++at) {
        if (row->fields[at].required) {
            wrong << QStringLiteral("%1: %2 missing").arg(name, row->fields[at].name);
        }
    }
    return wrong;
}

TEST(JournalSchema, EveryEntryPointWritesItsEventAsTheTableDescribesIt) {
    CRecordingJournal journal;
    const CZebM40SettingsDoc doc = test::SampleDocument(3);
    JournalOpenInfo resumed = test::SampleOpenInfo(doc, "bytes");
    resumed.standard = QJsonObject{{"profile", "ring"}};
    resumed.resumesJournal = QStringLiteral("/runs/old.zebrun");
    resumed.endedSteps = {1, 2};
    journal.Open(test::SampleOpenInfo(doc, "bytes"));
    journal.Open(resumed);
    journal.StepStart(1, {"SV500", "SP1"});
    journal.StepStart(2, {});
    for (int result : std::initializer_list<int>{kResultPass, kResultFail, kResultNone,
                                                 kJournalResultPending, 9}) {
        journal.StepEnd(1, result, 5);
        journal.Judgement(1, result, QStringLiteral("c"), JudgedBy::Bulk);
    }
    journal.CommentsCleared();
    journal.Stop();
    journal.Error(3, QStringLiteral("Over voltage"));
    journal.LinkLost();
    for (RunEnd end : {RunEnd::Complete, RunEnd::Stopped, RunEnd::Error, RunEnd::NoLink}) {
        journal.RunEnded(end);
    }
    for (JournalVerdict verdict :
         {JournalVerdict::Pass, JournalVerdict::Fail, JournalVerdict::Problem}) {
        for (MonitorPhase phase : {MonitorPhase::During, MonitorPhase::After}) {
            JournalMonitorEntry entry;
            entry.phase = PhaseName(phase);
            entry.verdict = verdict;
            entry.output = "\xff not UTF-8";
            journal.Monitor(entry);
        }
    }
    journal.Report(QStringLiteral("/nowhere/missing.xlsx"));
    journal.IssuedReport(QStringLiteral("/r/a.pdf"), QByteArray(64, 'b'), QStringLiteral("N-1"));
    journal.PrintedReport(QStringLiteral("N-2"));
    for (RunEnd end : {RunEnd::Complete, RunEnd::Stopped, RunEnd::Error, RunEnd::NoLink,
                       RunEnd::Closed, RunEnd::Abandoned}) {
        journal.Close(end);
    }
    journal.Close(RunEnd::Resumed, QStringLiteral("/runs/new.zebrun"));

    std::set<QString> written;
    for (const auto& [name, fields] : journal.events) {
        EXPECT_EQ(Misfits(name, fields).join(QLatin1String("; ")).toStdString(), "");
        written.insert(name);
    }
    // Each of the table's events has its entry point.
    for (const JournalEventRow& row : JournalSchema()) {
        EXPECT_EQ(written.count(QString::fromLatin1(row.name)), 1u) << row.name;
    }
    // Optional fields are left out, never written empty; the table's order holds with them.
    EXPECT_EQ(journal.events[0].second.size(), 12u);
    EXPECT_EQ(journal.events[1].second.back().second, QJsonArray({1, 2}));
    EXPECT_EQ(journal.events.back().second.size(), 2u);
}

TEST(JournalSchema, EventsAreFoundByNameAndAValueNotGivenIsNeverDropped) {
    std::set<QString> names;
    for (const JournalEventRow& row : JournalSchema()) {
        EXPECT_EQ(JournalEventOf(QString::fromLatin1(row.name)), row.event);
        EXPECT_EQ(JournalEventName(row.event), QLatin1String(row.name));
        EXPECT_TRUE(names.insert(QString::fromLatin1(row.name)).second) << row.name;
        std::set<QString> fields;
        for (const JournalFieldRow& field : row.fields) {
            EXPECT_FALSE(IsReservedJournalField(QString::fromLatin1(field.name))) << field.name;
            EXPECT_TRUE(fields.insert(QString::fromLatin1(field.name)).second) << field.name;
            EXPECT_TRUE(field.values.isEmpty() || field.type == JournalFieldType::Text);
        }
    }
    EXPECT_FALSE(JournalEventOf(QStringLiteral("alive")).has_value());
    EXPECT_FALSE(JournalEventOf(QStringLiteral("Open")).has_value());
    EXPECT_FALSE(JournalEventOf(QString()).has_value());

    // A required value missing is written as null (the line still says the field was due); an
    // optional one is left out.
    const JournalFields close = JournalEventFields(JournalEvent::Close, {});
    ASSERT_EQ(close.size(), 1u);
    EXPECT_EQ(close[0].first, "outcome");
    EXPECT_TRUE(close[0].second.isNull());
    const JournalFields error = JournalEventFields(JournalEvent::Error, {QJsonValue::Undefined, 7});
    ASSERT_EQ(error.size(), 2u);
    EXPECT_TRUE(error[0].second.isNull());
    EXPECT_EQ(error[1].second, 7);
}

// The rows of the README's table of events: the event names of the first cell and the names
// in backquotes of the second, in the order they appear.
struct ReadmeRow {
    QStringList events;
    QStringList names;
    QString text;
};

std::vector<ReadmeRow> ReadmeEventRows() {
    QFile file(QStringLiteral(ZEB_README_PATH));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QString readme = QString::fromUtf8(file.readAll());
    const qsizetype start = readme.indexOf(QLatin1String("\n| event | fields |"));
    if (start < 0) {
        return {};
    }
    std::vector<ReadmeRow> rows;
    const QRegularExpression quoted(QStringLiteral("`([a-z0-9_-]+)`"));
    const QStringList lines = readme.mid(start + 1).split(QLatin1Char('\n'));
    for (qsizetype i = 2; i < lines.size() && lines[i].startsWith(QLatin1Char('|')); ++i) {
        const QStringList cells = lines[i].split(QLatin1String(" | "));
        if (cells.size() != 2) {
            ADD_FAILURE() << "row of more than two cells: " << lines[i].toStdString();
            continue;
        }
        ReadmeRow row;
        row.text = cells[1];
        for (const auto& m : quoted.globalMatch(cells[0])) {
            row.events << m.captured(1);
        }
        for (const auto& m : quoted.globalMatch(cells[1])) {
            row.names << m.captured(1);
        }
        rows.push_back(row);
    }
    return rows;
}

TEST(JournalSchema, TheReadmeTableNamesExactlyTheTablesEventsAndFieldsInTheirOrder) {
    const std::vector<ReadmeRow> rows = ReadmeEventRows();
    ASSERT_FALSE(rows.empty()) << "the README's table of events was not found";
    QStringList allEvents;
    for (const JournalEventRow& row : JournalSchema()) {
        allEvents << QString::fromLatin1(row.name);
    }
    QStringList documented;
    for (const ReadmeRow& readme : rows) {
        for (const QString& event : readme.events) {
            documented << event;
            const JournalEventRow* row = FindJournalEventRow(event);
            if (!row) {
                ADD_FAILURE() << "the README documents an event not written: "
                              << event.toStdString();
                continue;
            }
            QStringList fields;
            QStringList known = allEvents;
            for (const JournalFieldRow& field : row->fields) {
                fields << QString::fromLatin1(field.name);
                known << field.values << field.members;
            }
            if (fields.isEmpty()) {
                EXPECT_EQ(readme.text.trimmed(), "none |") << event.toStdString();
            }
            QStringList inOrder;
            for (const QString& name : readme.names) {
                if (fields.contains(name)) {
                    if (!inOrder.contains(name)) {
                        inOrder << name;
                    }
                } else {
                    EXPECT_TRUE(known.contains(name))
                        << "the README names `" << name.toStdString() << "` for "
                        << event.toStdString() << ", which it does not carry";
                }
            }
            EXPECT_EQ(inOrder.join(QLatin1Char(' ')).toStdString(),
                      fields.join(QLatin1Char(' ')).toStdString())
                << "the README's fields of " << event.toStdString();
        }
    }
    EXPECT_EQ(documented.join(QLatin1Char(' ')).toStdString(),
              allEvents.join(QLatin1Char(' ')).toStdString());
}

TEST(JournalSchema, TheWordsWrittenAreTheTablesValues) {
    const auto values = [](JournalEvent event, const char* field) {
        return JournalEventRowOf(event).Field(QLatin1String(field))->values;
    };
    const QStringList closeOutcomes = values(JournalEvent::Close, "outcome");
    const QStringList testOutcomes = values(JournalEvent::RunEnd, "outcome");
    for (RunEnd end : {RunEnd::Complete, RunEnd::Stopped, RunEnd::Error, RunEnd::NoLink,
                       RunEnd::Closed, RunEnd::Abandoned, RunEnd::Resumed}) {
        EXPECT_TRUE(closeOutcomes.contains(RunEndText(end))) << RunEndText(end).toStdString();
    }
    EXPECT_EQ(closeOutcomes.size(), 7);
    EXPECT_EQ(testOutcomes, closeOutcomes.mid(0, 4));
    for (JudgedBy by :
         {JudgedBy::Operator, JudgedBy::Bulk, JudgedBy::Sequencer, JudgedBy::Monitor}) {
        EXPECT_TRUE(values(JournalEvent::Judgement, "by").contains(JudgedByText(by)));
    }
    for (int result :
         std::initializer_list<int>{kResultPass, kResultFail, kResultNone, kJournalResultPending}) {
        const QString text = JournalResultText(result);
        EXPECT_TRUE(values(JournalEvent::StepEnd, "result").contains(text));
        EXPECT_EQ(JournalResultCode(text), result);
    }
    EXPECT_EQ(values(JournalEvent::Monitor, "result"), values(JournalEvent::Judgement, "result"));
}

}  // namespace

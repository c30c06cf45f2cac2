#pragma once
// Every event a run journal records and every field of it, in one table: the name, the JSON
// type, whether the event always carries it, and what it means. The writer builds its lines
// from this table (the fields in the table's order), the readers look fields up by the names
// defined here, and `zebctl journal show` prints events in the table's order. The README's
// event table is checked against it by a test.
//
// The four fields every line carries (seq, time, event, prev) are the line's frame, not part of
// any event; they are described in JournalLine.h.

#include <QJsonValue>
#include <QLatin1String>
#include <QString>
#include <QStringList>

#include <initializer_list>
#include <optional>
#include <utility>
#include <vector>

#include "JournalLine.h"

namespace zeb {

enum class JournalEvent {
    Open,
    StepStart,
    StepEnd,
    Judgement,
    CommentsCleared,
    Stop,
    Error,
    LinkLost,
    RunEnd,
    Monitor,
    Report,
    Close,
};

namespace journal::field {
// open
inline constexpr char kVersion[] = "version";
inline constexpr char kDocument[] = "document";
inline constexpr char kDocumentSha256[] = "document_sha256";
inline constexpr char kCurrentStep[] = "current_step";
inline constexpr char kRecord[] = "record";
inline constexpr char kSteps[] = "steps";
inline constexpr char kEnvironment[] = "environment";
inline constexpr char kInstrument[] = "instrument";
inline constexpr char kMachineType[] = "machine_type";
inline constexpr char kHwVersion[] = "hw_version";
inline constexpr char kPort[] = "port";
inline constexpr char kLogin[] = "login";
inline constexpr char kStandard[] = "standard";
inline constexpr char kResumes[] = "resumes";
inline constexpr char kEnded[] = "ended";
// steps, judgements and the monitor
inline constexpr char kStep[] = "step";
inline constexpr char kBlock[] = "block";
inline constexpr char kResult[] = "result";
inline constexpr char kDischarges[] = "discharges";
inline constexpr char kComment[] = "comment";
inline constexpr char kBy[] = "by";
inline constexpr char kPhase[] = "phase";
inline constexpr char kVerdict[] = "verdict";
inline constexpr char kExitStatus[] = "exit_status";
inline constexpr char kDurationMs[] = "duration_ms";
inline constexpr char kOutput[] = "output";
inline constexpr char kErrorOutput[] = "error_output";
// error
inline constexpr char kCode[] = "code";
inline constexpr char kText[] = "text";
// report
inline constexpr char kPath[] = "path";
inline constexpr char kSha256[] = "sha256";
inline constexpr char kPdf[] = "pdf";
inline constexpr char kPdfSha256[] = "pdf_sha256";
inline constexpr char kPrinted[] = "printed";
inline constexpr char kReportNumber[] = "report_number";
// run-end and close
inline constexpr char kOutcome[] = "outcome";
inline constexpr char kResumedBy[] = "resumed_by";
}  // namespace journal::field

// The JSON type of a field's value. Integer fields hold whole numbers.
enum class JournalFieldType { Integer, Text, Boolean, List, Object };

// How a one-line summary of an event (zebctl journal show) gives a field: its value, only the
// number of its items, or not at all (a structure too long for one line).
enum class JournalBrief { Value, Count, Omit };

struct JournalFieldRow {
    JournalFieldRow(const char* fieldName, JournalFieldType fieldType, bool isRequired,
                    const char* fieldMeaning, QStringList texts = {}, QStringList parts = {},
                    JournalBrief shown = JournalBrief::Value)
        : name(fieldName),
          type(fieldType),
          required(isRequired),
          meaning(fieldMeaning),
          values(std::move(texts)),
          members(std::move(parts)),
          brief(shown) {}

    const char* name = "";
    JournalFieldType type = JournalFieldType::Text;
    bool required = true;
    const char* meaning = "";
    // The texts a Text field may hold (empty: any text).
    QStringList values;
    // The documented members of an Object field, or of the objects in a List field.
    QStringList members;
    JournalBrief brief = JournalBrief::Value;
};

struct JournalEventRow {
    JournalEvent event = JournalEvent::Open;
    const char* name = "";
    const char* meaning = "";
    std::vector<JournalFieldRow> fields;  // in the order they are written

    const JournalFieldRow* Field(const QString& fieldName) const;
};

// The whole table, in the order the README lists the events.
const std::vector<JournalEventRow>& JournalSchema();
const JournalEventRow& JournalEventRowOf(JournalEvent event);
// The event named so; nothing for a name this program does not write.
const JournalEventRow* FindJournalEventRow(const QString& name);

// "open", "step-end", ...
QLatin1String JournalEventName(JournalEvent event);
// The event a line's name stands for; nothing for a name this program does not write.
std::optional<JournalEvent> JournalEventOf(const QString& name);

// The fields of an event in the table's order: the i-th value belongs to the i-th field of the
// event. An undefined value (QJsonValue::Undefined, or a missing trailing value) leaves an
// optional field out; a required field is always written (null when its value is undefined).
JournalFields JournalEventFields(JournalEvent event, std::initializer_list<QJsonValue> values);

// "integer", "text", "true or false", "list", "object".
QString JournalFieldTypeText(JournalFieldType type);

}  // namespace zeb

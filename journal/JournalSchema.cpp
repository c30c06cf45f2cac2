#include "JournalSchema.h"

namespace zeb {

namespace {

using journal::field::kBlock;
using journal::field::kBy;
using journal::field::kCode;
using journal::field::kComment;
using journal::field::kCurrentStep;
using journal::field::kDischarges;
using journal::field::kDocument;
using journal::field::kDocumentSha256;
using journal::field::kDurationMs;
using journal::field::kEnded;
using journal::field::kEnvironment;
using journal::field::kErrorOutput;
using journal::field::kExitStatus;
using journal::field::kHwVersion;
using journal::field::kInstrument;
using journal::field::kLogin;
using journal::field::kMachineType;
using journal::field::kOutcome;
using journal::field::kOutput;
using journal::field::kPath;
using journal::field::kPdf;
using journal::field::kPdfSha256;
using journal::field::kPhase;
using journal::field::kPort;
using journal::field::kPrinted;
using journal::field::kRecord;
using journal::field::kReportNumber;
using journal::field::kResult;
using journal::field::kResumedBy;
using journal::field::kResumes;
using journal::field::kSha256;
using journal::field::kStandard;
using journal::field::kStep;
using journal::field::kSteps;
using journal::field::kText;
using journal::field::kVerdict;
using journal::field::kVersion;

constexpr auto Integer = JournalFieldType::Integer;
constexpr auto Text = JournalFieldType::Text;
constexpr auto Boolean = JournalFieldType::Boolean;
constexpr auto List = JournalFieldType::List;
constexpr auto Object = JournalFieldType::Object;
constexpr bool Required = true;
constexpr bool Optional = false;

const QStringList kResults{"pass", "fail", "none", "pending"};
const QStringList kTestOutcomes{"complete", "stopped", "error", "no-link"};

JournalFieldRow StepField() {
    return {kStep, Integer, Required, "the step, counted from 1", {}, {}, JournalBrief::Value};
}

std::vector<JournalEventRow> BuildSchema() {
    const QStringList runOutcomes = kTestOutcomes + QStringList{"closed", "abandoned", "resumed"};
    return {
        {JournalEvent::Open,
         "open",
         "the first line: what is run, in which environment, on which instrument",
         {
             {kVersion, Text, Required, "the program's version"},
             {kDocument, Text, Required, "the settings document's path"},
             {kDocumentSha256, Text, Required, "SHA-256 of the document file's bytes"},
             {kCurrentStep, Integer, Required, "the step the run opens on, counted from 1"},
             {kRecord, Object, Required, "the test conditions", {}, {}, JournalBrief::Omit},
             {kSteps,
              List,
              Required,
              "every step with every stored field",
              {},
              {},
              JournalBrief::Count},
             {kEnvironment, Object, Required, "the test environment", {}, {}, JournalBrief::Omit},
             {kInstrument, Text, Required, "the instrument's identification reply"},
             {kMachineType, Integer, Required, "the instrument's machine type"},
             {kHwVersion, Integer, Required, "the instrument's hardware version"},
             {kPort, Text, Required, "the serial port"},
             {kLogin, Text, Required, "the operator's login name"},
             {kStandard,
              Object,
              Optional,
              "the plan's test standard and the findings of its check",
              {},
              {"profile", "title", "level", "voltage", "findings", "rule", "severity", "citation",
               "text", "steps"}},
             {kResumes, Text, Optional, "the journal of the interrupted run this one continues"},
             {kEnded, List, Optional, "the steps that run had ended, counted from 1"},
         }},
        {JournalEvent::StepStart,
         "step-start",
         "a step's parameter block, written before the test is started",
         {StepField(), {kBlock, List, Required, "the commands of the block as sent"}}},
        {JournalEvent::StepEnd,
         "step-end",
         "a step's last discharge is done",
         {StepField(),
          {kResult, Text, Required, "the step's result; pending while a verdict is to come",
           kResults},
          {kDischarges, Integer, Required, "the discharges done"}}},
        {JournalEvent::Judgement,
         "judgement",
         "a step's result and comment were set",
         {StepField(),
          {kResult, Text, Required, "the result", kResults},
          {kComment, Text, Required, "the comment"},
          {kBy, Text, Required, "who judged", {"operator", "bulk", "sequencer", "monitor"}}}},
        {JournalEvent::CommentsCleared, "comments-cleared", "every step's comment was cleared", {}},
        {JournalEvent::Stop, "stop", "the test was stopped", {}},
        {JournalEvent::LinkLost, "link-lost", "the instrument stopped answering", {}},
        {JournalEvent::Error,
         "error",
         "the instrument reported an error",
         {{kCode, Integer, Required, "the error code"},
          {kText, Text, Required, "the error's text"}}},
        {JournalEvent::RunEnd,
         "run-end",
         "one test ended (a run dialog may run several)",
         {{kOutcome, Text, Required, "how the test ended", kTestOutcomes}}},
        {JournalEvent::Monitor,
         "monitor",
         "what the EUT monitor found",
         {StepField(),
          {kPhase, Text, Required, "during or after the step", {"during", "after"}},
          {kVerdict, Text, Required, "the monitor's answer", {"pass", "fail", "problem"}},
          {kResult, Text, Required, "the step's result it left", kResults},
          {kComment, Text, Required, "the comment it gave"},
          {kExitStatus, Integer, Required, "the command's exit status, -1 when killed"},
          {kDurationMs, Integer, Required, "how long the check took"},
          {kOutput, Text, Required, "the beginning of the command's output"},
          {kErrorOutput, Text, Required, "the beginning of the command's error output"}}},
        {JournalEvent::Report,
         "report",
         "a report of the run was written",
         {{kPath, Text, Optional, "the workbook's path"},
          {kSha256, Text, Optional, "SHA-256 of the workbook, empty when it cannot be read"},
          {kPdf, Text, Optional, "the issued PDF report's path"},
          {kPdfSha256, Text, Optional, "SHA-256 of the PDF report"},
          {kPrinted, Boolean, Optional, "the issued report was printed, not saved"},
          {kReportNumber, Text, Optional, "the issued report's number"}}},
        {JournalEvent::Close,
         "close",
         "the last line",
         {{kOutcome, Text, Required, "how the run ended", runOutcomes},
          {kResumedBy, Text, Optional, "the journal of the run that continues this one"}}},
    };
}

}  // namespace

const JournalFieldRow* JournalEventRow::Field(const QString& fieldName) const {
    for (const JournalFieldRow& field : fields) {
        if (fieldName == QLatin1String(field.name)) {
            return &field;
        }
    }
    return nullptr;
}

const std::vector<JournalEventRow>& JournalSchema() {
    static const std::vector<JournalEventRow> schema = BuildSchema();
    return schema;
}

const JournalEventRow& JournalEventRowOf(JournalEvent event) {
    for (const JournalEventRow& row : JournalSchema()) {
        if (row.event == event) {
            return row;
        }
    }
    return JournalSchema().front();  // every event has its row; never reached
}

const JournalEventRow* FindJournalEventRow(const QString& name) {
    for (const JournalEventRow& row : JournalSchema()) {
        if (name == QLatin1String(row.name)) {
            return &row;
        }
    }
    return nullptr;
}

QLatin1String JournalEventName(JournalEvent event) {
    return QLatin1String(JournalEventRowOf(event).name);
}

std::optional<JournalEvent> JournalEventOf(const QString& name) {
    const JournalEventRow* row = FindJournalEventRow(name);
    return row ? std::optional<JournalEvent>(row->event) : std::nullopt;
}

JournalFields JournalEventFields(JournalEvent event, std::initializer_list<QJsonValue> values) {
    const JournalEventRow& row = JournalEventRowOf(event);
    JournalFields fields;
    auto next = values.begin();
    for (const JournalFieldRow& field : row.fields) {
        const QJsonValue value = next != values.end() ? *next++ : QJsonValue(QJsonValue::Undefined);
        if (field.required) {
            // A value that is not there is written as null, never left out.
            fields.emplace_back(QString::fromLatin1(field.name),
                                value.isUndefined() ? QJsonValue() : value);
        } else if (!value.isUndefined()) {
            fields.emplace_back(QString::fromLatin1(field.name), value);
        }
    }
    return fields;
}

QString JournalFieldTypeText(JournalFieldType type) {
    switch (type) {
        case JournalFieldType::Integer:
            return QStringLiteral("integer");
        case JournalFieldType::Text:
            return QStringLiteral("text");
        case JournalFieldType::Boolean:
            return QStringLiteral("true or false");
        case JournalFieldType::List:
            return QStringLiteral("list");
        case JournalFieldType::Object:
            return QStringLiteral("object");
    }
    return QString();
}

}  // namespace zeb

// Settings files from the command line: print one as JSON, or build one from JSON.

#include <optional>

#include "Cli.h"
#include "DocumentJson.h"
#include "FileAccess.h"
#include "StandardCommands.h"

namespace zebctl {

bool TakeMachineOptions(QStringList& args, std::optional<uint32_t>& machine, int32_t& hw) {
    QString machineText;
    QString hwText;
    if (!TakeOption(args, QStringLiteral("--machine"), machineText) ||
        !TakeOption(args, QStringLiteral("--hw"), hwText)) {
        return false;
    }
    if (!machineText.isEmpty()) {
        bool ok = false;
        const qulonglong v = machineText.trimmed().toULongLong(&ok, 0);
        if (!ok || v > 0xFFFFFFFFull) {
            Err(QStringLiteral("zebctl: --machine needs a machine type code, not '%1'")
                    .arg(machineText));
            return false;
        }
        machine = static_cast<uint32_t>(v);
    }
    hw = 0;
    if (!hwText.isEmpty()) {
        long long v = 0;
        if (!ParseInt(hwText, v) || v < 0 || v > 1) {
            Err(QStringLiteral("zebctl: --hw needs 0 or 1, not '%1'").arg(hwText));
            return false;
        }
        hw = static_cast<int32_t>(v);
    }
    return true;
}

namespace {

bool NoExtraArguments(const QStringList& args, int expected, const char* usage) {
    if (args.size() != expected) {
        Err(QStringLiteral("usage: zebctl %1").arg(QLatin1String(usage)));
        return false;
    }
    return true;
}

const char kDumpUsage[] = "dump <FILE.zms> [--machine T] [--hw V]";
const char kBuildUsage[] = "build <FILE.json> <OUT.zms> [--machine T] [--hw V]";

int Dump(QStringList args) {
    std::optional<uint32_t> machine;
    int32_t hw = 0;
    if (!TakeMachineOptions(args, machine, hw) || !NoExtraArguments(args, 1, kDumpUsage)) {
        return kExitBadInput;
    }
    zeb::CZebM40SettingsDoc doc;
    QString error;
    if (!zeb::LoadDocumentFile(args.at(0), machine, hw, doc, error)) {
        Err(error);
        return kExitBadInput;
    }
    OutBytes(zeb::DocumentToJsonText(doc));
    return kExitOk;
}

// A settings file stores no judgements or comments; says so when the document carries any.
void NoteDroppedResults(const zeb::CZebM40SettingsDoc& doc) {
    int carrying = 0;
    for (const zeb::CExecData& step : doc.Steps()) {
        if (step.m_nResult != zeb::kResultNone || !step.m_strComment.isEmpty()) {
            ++carrying;
        }
    }
    if (carrying > 0) {
        Err(QStringLiteral("zebctl: %1 step(s) carry a result (m_nResult) or a comment "
                           "(m_strComment); a settings file does not store them, they are left "
                           "out")
                .arg(carrying));
    }
}

// Absent record fields take their defaults for the record's machine type (or --machine when
// the JSON names none); absent steps are expanded from the record. The output is always a new
// file: whatever exists under its name (the input itself, a link, a device) is left alone.
int Build(QStringList args) {
    std::optional<uint32_t> machine;
    int32_t hw = 0;
    if (!TakeMachineOptions(args, machine, hw) || !NoExtraArguments(args, 2, kBuildUsage)) {
        return kExitBadInput;
    }
    QByteArray json;
    QString error;
    if (!zeb::ReadRegularFile(args.at(0), zeb::kMaxDocumentFileBytes, json, error)) {
        Err(error);
        return kExitBadInput;
    }
    zeb::CZebM40SettingsDoc doc;
    if (!zeb::DocumentFromJsonText(json, machine.value_or(zeb::kNoMachineType), hw, doc, error)) {
        Err(QStringLiteral("%1: %2").arg(args.at(0), error));
        return kExitBadInput;
    }
    NoteDroppedResults(doc);
    if (!doc.SaveNewFile(args.at(1), &error)) {
        Err(error);
        return kExitBadInput;
    }
    return kExitOk;
}

const ZebctlCommand kDump("dump", kDumpUsage, [](const QStringList& a) { return Dump(a); });
const ZebctlCommand kBuild("build", kBuildUsage, [](const QStringList& a) { return Build(a); });

}  // namespace

}  // namespace zebctl

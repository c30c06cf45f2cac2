// Settings files from the command line: print one as JSON, or build one from JSON.

#include <QFile>

#include <cstdio>
#include <optional>

#include "Cli.h"
#include "DocumentJson.h"

namespace zebctl {

namespace {

// --machine (decimal or 0x hexadecimal) and --hw; false after printing a message.
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
    const QByteArray json = zeb::DocumentToJsonText(doc);
    std::fwrite(json.constData(), 1, static_cast<size_t>(json.size()), stdout);
    std::fflush(stdout);
    return kExitOk;
}

// Absent record fields take their defaults for the record's machine type (or --machine when
// the JSON names none); absent steps are expanded from the record.
int Build(QStringList args) {
    std::optional<uint32_t> machine;
    int32_t hw = 0;
    if (!TakeMachineOptions(args, machine, hw) || !NoExtraArguments(args, 2, kBuildUsage)) {
        return kExitBadInput;
    }
    QFile in(args.at(0));
    if (!in.open(QIODevice::ReadOnly)) {
        Err(QStringLiteral("The file \"%1\" cannot be opened: %2")
                .arg(args.at(0), in.errorString()));
        return kExitBadInput;
    }
    zeb::CZebM40SettingsDoc doc;
    QString error;
    if (!zeb::DocumentFromJsonText(in.readAll(), machine.value_or(zeb::kNoMachineType), hw, doc,
                                   error)) {
        Err(QStringLiteral("%1: %2").arg(args.at(0), error));
        return kExitBadInput;
    }
    if (!doc.SaveFile(args.at(1), &error)) {
        Err(error);
        return kExitBadInput;
    }
    return kExitOk;
}

const ZebctlCommand kDump("dump", kDumpUsage, [](const QStringList& a) { return Dump(a); });
const ZebctlCommand kBuild("build", kBuildUsage, [](const QStringList& a) { return Build(a); });

}  // namespace

}  // namespace zebctl

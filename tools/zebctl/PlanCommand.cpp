// zebctl plan: a new document made from a standard profile for what a machine offers.

#include "Cli.h"
#include "PlanGenerator.h"
#include "SettingsDoc.h"
#include "StandardCommands.h"
#include "StandardVerdict.h"

namespace zebctl {

namespace {

const char kPlanUsage[] =
    "plan --standard ID --level N [--voltage V] --machine-type T [--hw-version V] --port P "
    "--lines CODE [--paths KINDS] <OUT.zms>";

bool ParseMachine(const QString& text, uint32_t& machine) {
    bool ok = false;
    const qulonglong v = text.trimmed().toULongLong(&ok, 0);
    if (!ok || v > 0xFFFFFFFFull) {
        Err(QStringLiteral("zebctl: --machine-type needs a machine type code, not '%1'").arg(text));
        return false;
    }
    machine = static_cast<uint32_t>(v);
    return true;
}

// "normal", "common" or both, comma-separated.
bool ParsePaths(const QString& text, zeb::PlanRequest& request) {
    if (text.isEmpty()) {
        return true;
    }
    request.lineToLine = false;
    request.lineToEarth = false;
    for (const QString& kind : text.split(QLatin1Char(','))) {
        if (kind.trimmed() == QLatin1String("normal")) {
            request.lineToLine = true;
        } else if (kind.trimmed() == QLatin1String("common")) {
            request.lineToEarth = true;
        } else {
            Err(QStringLiteral("zebctl: --paths takes normal, common or both, not '%1'").arg(text));
            return false;
        }
    }
    return true;
}

bool ParseRequest(QStringList& args, zeb::PlanRequest& request) {
    StandardOptions standard;
    QString machine, hw, port, lines, paths;
    if (!TakeStandardOptions(args, standard) ||
        !TakeOption(args, QStringLiteral("--machine-type"), machine) ||
        !TakeOption(args, QStringLiteral("--hw-version"), hw) ||
        !TakeOption(args, QStringLiteral("--port"), port) ||
        !TakeOption(args, QStringLiteral("--lines"), lines) ||
        !TakeOption(args, QStringLiteral("--paths"), paths)) {
        return false;
    }
    if (standard.profile.isEmpty() || standard.level.isEmpty() || machine.isEmpty() ||
        port.isEmpty() || lines.isEmpty() || args.size() != 1) {
        Err(QStringLiteral("usage: zebctl %1").arg(QLatin1String(kPlanUsage)));
        return false;
    }
    request.standard = zeb::StandardRef{standard.profile, standard.level, standard.voltage};
    long long number = 0;
    if (!ParseMachine(machine, request.machineType)) {
        return false;
    }
    if (!hw.isEmpty() && (!ParseInt(hw, number) || number < 0 || number > 1)) {
        Err(QStringLiteral("zebctl: --hw-version needs 0 or 1, not '%1'").arg(hw));
        return false;
    }
    request.hwVersion = static_cast<int32_t>(hw.isEmpty() ? 0 : number);
    request.port = zeb::PortOfKey(port);
    if (request.port < 0) {
        Err(QStringLiteral("zebctl: --port takes ac, dc, surge or telecom, not '%1'").arg(port));
        return false;
    }
    if (!ParseInt(lines, number) || number < 0 || number > 9) {
        Err(QStringLiteral("zebctl: --lines needs the code of a line configuration, not '%1'")
                .arg(lines));
        return false;
    }
    request.configuration = static_cast<int32_t>(number);
    return ParsePaths(paths, request);
}

int Plan(QStringList args) {
    zeb::PlanRequest request;
    if (!ParseRequest(args, request)) {
        return kExitBadInput;
    }
    const zeb::ProfileSet& set = zeb::InstalledProfiles();
    const zeb::StandardProfile* profile = set.Find(request.standard.profile);
    if (!profile) {
        PrintProfileProblems(set);
        Err(QStringLiteral("zebctl: the standard profile %1 is not installed")
                .arg(request.standard.profile));
        return kExitBadInput;
    }
    zeb::PlanResult plan;
    QString error;
    if (!zeb::GeneratePlan(*profile, request, plan, error)) {
        Err(QStringLiteral("zebctl: %1").arg(error));
        return kExitBadInput;
    }
    for (const zeb::Finding& shortfall : plan.shortfalls) {
        Err(QStringLiteral("zebctl: %1").arg(shortfall.text));
    }
    zeb::CZebM40SettingsDoc doc;
    doc.OnNewDocument(request.machineType, request.hwVersion);
    doc.ApplyRecord(plan.record);
    doc.SetStandard(request.standard);
    if (!doc.SaveNewFile(args.at(0), &error)) {
        Err(error);
        return kExitBadInput;
    }
    const zeb::StandardVerdict verdict = zeb::EvaluateStandard(doc, set);
    for (const zeb::Finding& f : verdict.findings) {
        Out(zeb::FindingLine(f));
    }
    Out(QStringLiteral("findings=%1").arg(verdict.findings.size()));
    return kExitOk;
}

const ZebctlCommand kPlan("plan", kPlanUsage, [](const QStringList& a) { return Plan(a); });

}  // namespace

}  // namespace zebctl

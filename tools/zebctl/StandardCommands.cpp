// Test standards from the command line: list the profiles, check a document's plan against one.

#include "StandardCommands.h"
#include "Cli.h"
#include "DocumentJson.h"
#include "StandardVerdict.h"

namespace zebctl {

bool ParseVolts(const QString& text, int32_t& volts) {
    QString t = text.trimmed();
    double scale = 1.0;
    if (t.endsWith(QLatin1String("kV"), Qt::CaseInsensitive)) {
        t.chop(2);
        scale = 1000.0;
    } else if (t.endsWith(QLatin1Char('V'), Qt::CaseInsensitive)) {
        t.chop(1);
    }
    bool ok = false;
    const double v = t.trimmed().toDouble(&ok) * scale;
    if (!ok || v != static_cast<double>(static_cast<int32_t>(v)) || v < 1 ||
        v > zeb::kGeneratorVoltageMax) {
        Err(QStringLiteral("zebctl: --voltage needs the voltage of level X in volts (1 to %1, or "
                           "with kV), not '%2'")
                .arg(zeb::kGeneratorVoltageMax)
                .arg(text));
        return false;
    }
    volts = static_cast<int32_t>(v);
    return true;
}

bool TakeStandardOptions(QStringList& args, StandardOptions& options) {
    QString voltage;
    if (!TakeOption(args, QStringLiteral("--standard"), options.profile) ||
        !TakeOption(args, QStringLiteral("--level"), options.level) ||
        !TakeOption(args, QStringLiteral("--voltage"), voltage)) {
        return false;
    }
    if (!voltage.isEmpty() && !ParseVolts(voltage, options.voltage)) {
        return false;
    }
    if (options.level == zeb::AnyVoltageLevel() && options.voltage == 0) {
        Err(QStringLiteral("zebctl: --level X needs --voltage V"));
        return false;
    }
    if (!voltage.isEmpty() && options.level != zeb::AnyVoltageLevel()) {
        Err(QStringLiteral("zebctl: --voltage belongs to --level X only"));
        return false;
    }
    return true;
}

void PrintProfileProblems(const zeb::ProfileSet& set) {
    for (const QString& problem : set.problems) {
        Err(QStringLiteral("zebctl: standard profile %1").arg(problem));
    }
}

namespace {

const char kStandardsUsage[] = "standards";
const char kCheckUsage[] =
    "check <FILE> [--standard ID] [--level N] [--voltage V] [--machine T] [--hw V]";

int Standards(const QStringList& args) {
    if (!args.isEmpty()) {
        Err(QStringLiteral("usage: zebctl %1").arg(QLatin1String(kStandardsUsage)));
        return kExitBadInput;
    }
    const zeb::ProfileSet& set = zeb::InstalledProfiles();
    for (const zeb::StandardProfile& p : set.profiles) {
        Out(QStringLiteral("id=%1 title=%2 source=%3 levels=%4")
                .arg(p.id, p.title, p.lab ? QStringLiteral("lab") : QStringLiteral("shipped"),
                     p.LevelList()));
    }
    PrintProfileProblems(set);
    return set.problems.isEmpty() ? kExitOk : kExitBadInput;
}

// The reference to check against: the options' where --standard is given, otherwise the
// document's own, with --level (and --voltage) replacing its level when given.
bool ReferenceFor(const zeb::CZebM40SettingsDoc& doc, const StandardOptions& options,
                  zeb::StandardRef& ref) {
    if (!options.profile.isEmpty()) {
        if (options.level.isEmpty()) {
            Err(QStringLiteral("zebctl: --standard needs --level N"));
            return false;
        }
        ref = zeb::StandardRef{options.profile, options.level, options.voltage};
        return true;
    }
    if (!doc.StandardProblem().isEmpty()) {
        Err(doc.StandardProblem());
    }
    ref = doc.Standard();
    if (!ref.IsSet()) {
        Err(
            QStringLiteral("zebctl: the document has no test standard; give --standard ID "
                           "--level N"));
        return false;
    }
    if (!options.level.isEmpty()) {
        ref.level = options.level;
        ref.voltage = options.voltage;
    }
    return true;
}

int Check(QStringList args) {
    StandardOptions options;
    std::optional<uint32_t> machine;
    int32_t hw = 0;
    if (!TakeStandardOptions(args, options) || !TakeMachineOptions(args, machine, hw)) {
        return kExitBadInput;
    }
    if (args.size() != 1) {
        Err(QStringLiteral("usage: zebctl %1").arg(QLatin1String(kCheckUsage)));
        return kExitBadInput;
    }
    zeb::CZebM40SettingsDoc doc;
    QString error;
    if (!zeb::LoadDocumentFile(args.at(0), machine, hw, doc, error)) {
        Err(error);
        return kExitBadInput;
    }
    zeb::StandardRef ref;
    if (!ReferenceFor(doc, options, ref)) {
        return kExitBadInput;
    }
    const zeb::ProfileSet& set = zeb::InstalledProfiles();
    const zeb::StandardVerdict verdict = zeb::EvaluateStandard(doc.Record(), doc.Steps(), ref, set);
    if (!verdict.Checked()) {
        PrintProfileProblems(set);
        Err(QStringLiteral("zebctl: %1").arg(verdict.problem));
        return kExitBadInput;
    }
    for (const zeb::Finding& f : verdict.findings) {
        Out(zeb::FindingLine(f));
    }
    Out(QStringLiteral("findings=%1").arg(verdict.findings.size()));
    return verdict.findings.empty() ? kExitOk : kExitInstrument;
}

const ZebctlCommand kStandards("standards", kStandardsUsage,
                               [](const QStringList& a) { return Standards(a); });
const ZebctlCommand kCheck("check", kCheckUsage, [](const QStringList& a) { return Check(a); });

}  // namespace

}  // namespace zebctl

#include "StandardVerdict.h"

#include <QJsonArray>
#include <QStringList>

namespace zeb {

namespace {

QString StepList(const std::vector<int>& steps, const QString& separator) {
    QStringList parts;
    for (int s : steps) {
        parts << QString::number(s);
    }
    return parts.join(separator);
}

// "1-48", "1-3, 7, 9-12": runs of consecutive steps as ranges, for people to read.
QString StepRanges(const std::vector<int>& steps) {
    QStringList parts;
    for (size_t i = 0; i < steps.size();) {
        size_t j = i;
        while (j + 1 < steps.size() && steps[j + 1] == steps[j] + 1) {
            ++j;
        }
        parts << (j == i ? QString::number(steps[i])
                         : QStringLiteral("%1-%2").arg(steps[i]).arg(steps[j]));
        i = j + 1;
    }
    return parts.join(QStringLiteral(", "));
}

// The level's voltage as recorded: the chosen one for level X, else the line-to-line voltage.
int32_t RecordedVoltage(const StandardVerdict& verdict) {
    if (verdict.ref.level == AnyVoltageLevel() || !verdict.profile) {
        return verdict.ref.voltage;
    }
    const ProfileLevel* level = verdict.profile->FindLevel(verdict.ref.level);
    return level ? level->lineToLine : 0;
}

}  // namespace

StandardVerdict EvaluateStandard(const CSettingData& record, const ExecDataList& steps,
                                 const StandardRef& ref, const ProfileSet& profiles) {
    StandardVerdict verdict;
    verdict.ref = ref;
    if (!ref.IsSet()) {
        return verdict;
    }
    verdict.profile = profiles.Find(ref.profile);
    if (!verdict.profile) {
        verdict.problem = QStringLiteral(
                              "The standard profile %1 is not installed; the plan is "
                              "not checked.")
                              .arg(ref.profile);
        return verdict;
    }
    LevelVoltages voltages;
    if (!RequiredVoltages(*verdict.profile, ref.level, ref.voltage, voltages)) {
        verdict.problem =
            QStringLiteral("%1 has no level %2 (its levels: %3); the plan is not checked.")
                .arg(verdict.profile->title, ref.level, verdict.profile->LevelList());
        return verdict;
    }
    verdict.findings = CheckPlan(record, steps, *verdict.profile, ref.level, ref.voltage);
    return verdict;
}

StandardVerdict EvaluateStandard(const CZebM40SettingsDoc& doc, const ProfileSet& profiles) {
    return EvaluateStandard(doc.Record(), doc.Steps(), doc.Standard(), profiles);
}

QString LevelText(const StandardRef& ref) {
    if (ref.level == AnyVoltageLevel()) {
        return QStringLiteral("level X (%1)").arg(KiloVolts(ref.voltage));
    }
    return QStringLiteral("level %1").arg(ref.level);
}

QString StandardText(const StandardVerdict& verdict) {
    if (!verdict.HasStandard()) {
        return QString();
    }
    const QString name = verdict.profile ? verdict.profile->title : verdict.ref.profile;
    return QStringLiteral("%1, %2").arg(name, LevelText(verdict.ref));
}

QString MeetsText(const StandardVerdict& verdict) {
    if (!verdict.Checked() || !verdict.findings.empty()) {
        return QString();
    }
    return QStringLiteral("Meets %1").arg(StandardText(verdict));
}

QString FindingListText(const Finding& finding) {
    QString text = QStringLiteral("%1 (%2): %3")
                       .arg(SeverityText(finding.severity), finding.rule, finding.text);
    if (!finding.steps.empty()) {
        text += finding.steps.size() == 1
                    ? QStringLiteral(" Step %1.").arg(finding.steps.front())
                    : QStringLiteral(" Steps %1.").arg(StepRanges(finding.steps));
    }
    return text;
}

QJsonObject StandardJson(const StandardVerdict& verdict) {
    if (!verdict.Checked()) {
        return QJsonObject();
    }
    QJsonArray findings;
    for (const Finding& f : verdict.findings) {
        QJsonArray steps;
        for (int s : f.steps) {
            steps.append(s);
        }
        findings.append(QJsonObject{{QStringLiteral("rule"), f.rule},
                                    {QStringLiteral("severity"), SeverityText(f.severity)},
                                    {QStringLiteral("citation"), f.citation},
                                    {QStringLiteral("text"), f.text},
                                    {QStringLiteral("steps"), steps}});
    }
    return QJsonObject{{QStringLiteral("profile"), verdict.profile->id},
                       {QStringLiteral("title"), verdict.profile->title},
                       {QStringLiteral("level"), verdict.ref.level},
                       {QStringLiteral("voltage"), RecordedVoltage(verdict)},
                       {QStringLiteral("findings"), findings}};
}

QString FindingLine(const Finding& finding) {
    return QStringLiteral("finding rule=%1 severity=%2 steps=%3 text=%4")
        .arg(finding.rule, SeverityText(finding.severity),
             StepList(finding.steps, QStringLiteral(",")), finding.text);
}

QString PreRunQuestion(const StandardVerdict& verdict) {
    if (!verdict.HasStandard() || (verdict.Checked() && verdict.findings.empty())) {
        return QString();
    }
    QStringList lines;
    if (!verdict.problem.isEmpty()) {
        lines << verdict.problem;
    } else {
        lines << QStringLiteral("The plan deviates from %1:").arg(StandardText(verdict));
        for (const Finding& f : verdict.findings) {
            lines << QStringLiteral("- %1").arg(FindingListText(f));
        }
    }
    lines << QString() << QStringLiteral("OK runs the test anyway; Cancel returns to the plan.");
    return lines.join(QLatin1Char('\n'));
}

}  // namespace zeb

#include "PlanCheck.h"

#include <QStringList>

#include <algorithm>
#include <map>
#include <set>
#include <tuple>

#include "InstrumentRules.h"
#include "NameTables.h"
#include "StandardRef.h"

namespace zeb {

namespace {

uint32_t Bits(std::initializer_list<int> bits) {
    uint32_t mask = 0;
    for (int b : bits) {
        mask |= 1u << b;
    }
    return mask;
}

struct Plan {
    const CSettingData& record;
    const ExecDataList& steps;
    int32_t port;
    int32_t detail;
};

// Angle of a synchronised step, -1 for an asynchronous one or a port without phase.
int32_t AngleOf(const Plan& plan, const CExecData& s) {
    return plan.port == kPortAc && s.m_nSync == 1 ? s.m_lAngle % 360 : -1;
}

QString LineName(const Plan& plan, int32_t line) {
    const NameTable* t = LineTable(plan.port, plan.detail, plan.record.m_ulMachineType);
    const QString name = t ? t->Lookup(line).simplified() : QString();
    return name.isEmpty() ? QStringLiteral("line %1").arg(line) : name;
}

QString KindText(PathKind kind) {
    return kind == PathKind::LineToLine ? QStringLiteral("line-to-line")
                                        : QStringLiteral("line-to-earth");
}

QString Degrees(const std::vector<int32_t>& angles) {
    QStringList parts;
    for (int32_t a : angles) {
        parts << QStringLiteral("%1°").arg(a);
    }
    return parts.join(QStringLiteral(", "));
}

Finding Make(const ProfileRule& r, const QString& text, std::vector<int> steps = {}) {
    std::sort(steps.begin(), steps.end());
    steps.erase(std::unique(steps.begin(), steps.end()), steps.end());
    return Finding{r.kind, r.severity, r.citation, text, std::move(steps)};
}

std::vector<Finding> Polarities(const Plan& plan, const ProfileRule& r) {
    bool positive = false;
    bool negative = false;
    for (const CExecData& s : plan.steps) {
        positive = positive || s.m_nPola == 0;
        negative = negative || s.m_nPola == 1;
    }
    if (positive && negative) {
        return {};
    }
    const QString missing = !positive && !negative ? QStringLiteral("no surges of either polarity")
                            : positive             ? QStringLiteral("no negative surges")
                                                   : QStringLiteral("no positive surges");
    return {Make(
        r, QStringLiteral("The plan has %1; the method asks for both polarities.").arg(missing))};
}

std::vector<Finding> Angles(const Plan& plan, const ProfileRule& r) {
    std::vector<int> unsynced;
    // (voltage, line, polarity) -> angles present, and the steps of each.
    std::map<std::tuple<int32_t, int32_t, int32_t>, std::pair<std::set<int32_t>, std::vector<int>>>
        groups;
    for (size_t i = 0; i < plan.steps.size(); ++i) {
        const CExecData& s = plan.steps[i];
        if (s.m_nSync != 1) {
            unsynced.push_back(static_cast<int>(i) + 1);
            continue;
        }
        auto& g = groups[{s.m_lVolt, s.m_nInjRet, s.m_nPola}];
        g.first.insert(AngleOf(plan, s));
        g.second.push_back(static_cast<int>(i) + 1);
    }
    std::set<int32_t> missingAngles;
    std::vector<int> concerned;
    size_t short_ = 0;
    for (const auto& [key, g] : groups) {
        bool lacks = false;
        for (int32_t a : r.angles) {
            if (!g.first.count(a % 360)) {
                missingAngles.insert(a);
                lacks = true;
            }
        }
        if (lacks) {
            ++short_;
            concerned.insert(concerned.end(), g.second.begin(), g.second.end());
        }
    }
    QStringList sentences;
    if (!unsynced.empty()) {
        sentences << QStringLiteral(
                         "%1 not synchronised to the mains phase; the method asks for "
                         "surges at %2.")
                         .arg(unsynced.size() == 1
                                  ? QStringLiteral("1 step is")
                                  : QStringLiteral("%1 steps are").arg(unsynced.size()),
                              Degrees(r.angles));
    }
    if (short_ > 0) {
        sentences << QStringLiteral(
                         "%1 missing for %2 of %3 combinations of voltage, path and "
                         "polarity.")
                         .arg(missingAngles.size() == 1 ? QStringLiteral("The angle %1 is")
                                                        : QStringLiteral("The angles %1 are"),
                              QString::number(short_), QString::number(groups.size()))
                         .arg(Degrees({missingAngles.begin(), missingAngles.end()}));
    }
    if (sentences.isEmpty()) {
        return {};
    }
    concerned.insert(concerned.end(), unsynced.begin(), unsynced.end());
    return {Make(r, sentences.join(QLatin1Char(' ')), concerned)};
}

std::vector<Finding> Pulses(const Plan& plan, const ProfileRule& r) {
    std::map<std::tuple<int32_t, int32_t, int32_t, int32_t>, std::pair<int64_t, std::vector<int>>>
        groups;
    for (size_t i = 0; i < plan.steps.size(); ++i) {
        const CExecData& s = plan.steps[i];
        auto& g = groups[{s.m_lVolt, s.m_nInjRet, s.m_nPola, AngleOf(plan, s)}];
        g.first += std::max<int32_t>(0, s.m_lDisc);
        g.second.push_back(static_cast<int>(i) + 1);
    }
    std::vector<int> concerned;
    size_t short_ = 0;
    int64_t fewest = r.count;
    for (const auto& [key, g] : groups) {
        if (g.first < r.count) {
            ++short_;
            fewest = std::min(fewest, g.first);
            concerned.insert(concerned.end(), g.second.begin(), g.second.end());
        }
    }
    if (short_ == 0) {
        return {};
    }
    const QString what = plan.port == kPortAc ? QStringLiteral("voltage, path, polarity and angle")
                                              : QStringLiteral("voltage, path and polarity");
    return {Make(r,
                 QStringLiteral("%1 of %2 combinations of %3 receive fewer than %4 pulses "
                                "(fewest: %5).")
                     .arg(short_)
                     .arg(groups.size())
                     .arg(what)
                     .arg(r.count)
                     .arg(fewest),
                 concerned)};
}

std::vector<Finding> Interval(const Plan& plan, const ProfileRule& r) {
    std::vector<int> concerned;
    int32_t longest = 0;
    for (size_t i = 0; i < plan.steps.size(); ++i) {
        if (plan.steps[i].m_lRept > r.maximum) {
            concerned.push_back(static_cast<int>(i) + 1);
            longest = std::max(longest, plan.steps[i].m_lRept);
        }
    }
    if (concerned.empty()) {
        return {};
    }
    return {
        Make(r,
             QStringLiteral("%1 an interval longer than %2 s (longest: %3 s).")
                 .arg(concerned.size() == 1 ? QStringLiteral("1 step has")
                                            : QStringLiteral("%1 steps have").arg(concerned.size()))
                 .arg(r.maximum)
                 .arg(longest),
             concerned)};
}

std::vector<Finding> Levels(const Plan& plan, const ProfileRule& r, const StandardProfile& profile,
                            const QString& level, int32_t xVoltage) {
    LevelVoltages required;
    if (!RequiredVoltages(profile, level, xVoltage, required)) {
        return {Make(r, level == AnyVoltageLevel()
                            ? QStringLiteral("Level X needs a test voltage.")
                            : QStringLiteral("The profile has no level %1.").arg(level))};
    }
    std::set<int32_t> present[2];
    bool tested[2] = {false, false};
    for (const CExecData& s : plan.steps) {
        const int k = static_cast<int>(KindOfLine(plan.port, s.m_nInjRet));
        tested[k] = true;
        present[k].insert(s.m_lVolt);
    }
    QStringList gaps;
    for (int k = 0; k < 2; ++k) {
        const auto& want = k == 0 ? required.lineToLine : required.lineToEarth;
        QStringList missing;
        for (int32_t v : want) {
            if (tested[k] && !present[k].count(v)) {
                missing << KiloVolts(v);
            }
        }
        if (!missing.isEmpty()) {
            gaps << (PortHasPathKinds(plan.port)
                         ? QStringLiteral("%1 %2").arg(missing.join(QStringLiteral(", ")),
                                                       KindText(static_cast<PathKind>(k)))
                         : missing.join(QStringLiteral(", ")));
        }
    }
    if (gaps.isEmpty()) {
        return {};
    }
    const QString asked = level == AnyVoltageLevel()
                              ? QStringLiteral("level X is tested at %1").arg(KiloVolts(xVoltage))
                              : QStringLiteral("every level up to level %1 is tested").arg(level);
    return {Make(
        r,
        QStringLiteral("The plan lacks %1; %2.").arg(gaps.join(QStringLiteral(" and ")), asked))};
}

std::vector<Finding> Paths(const Plan& plan, const ProfileRule& r) {
    uint32_t tested = 0;
    for (const CExecData& s : plan.steps) {
        if (s.m_nInjRet >= 0 && s.m_nInjRet < 32) {
            tested |= 1u << s.m_nInjRet;
        }
    }
    QStringList sentences;
    if ((tested & NormalLines(plan.port)) == 0) {
        sentences << QStringLiteral("No line-to-line path is tested.");
    }
    const uint32_t untested = EarthPathsOf(plan.port, plan.detail) & ~tested;
    if (untested != 0) {
        QStringList names;
        for (int b = 0; b < 32; ++b) {
            if (untested & (1u << b)) {
                names << LineName(plan, b);
            }
        }
        const NameTable* details = OutputDetailTable(plan.port);
        sentences << QStringLiteral("%1 not tested; each line of %2 is tested to earth.")
                         .arg(names.size() == 1
                                  ? QStringLiteral("The path %1 is").arg(names.first())
                                  : QStringLiteral("The paths %1 are")
                                        .arg(names.join(QStringLiteral(", "))),
                              details ? details->Lookup(plan.detail).simplified() : QString());
    }
    if (sentences.isEmpty()) {
        return {};
    }
    return {Make(r, sentences.join(QLatin1Char(' ')))};
}

std::vector<Finding> Coupling(const Plan& plan, const ProfileRule& r) {
    std::vector<int> concerned[2];
    std::set<int32_t> used[2];
    for (size_t i = 0; i < plan.steps.size(); ++i) {
        const CExecData& s = plan.steps[i];
        if (s.m_nCoup == kCouplingStandard) {
            continue;
        }
        const PathKind kind = KindOfLine(plan.port, s.m_nInjRet);
        const int32_t needed = kind == PathKind::LineToLine ? r.lineToLineCoup : r.lineToEarthCoup;
        if (s.m_nCoup != needed) {
            concerned[static_cast<int>(kind)].push_back(static_cast<int>(i) + 1);
            used[static_cast<int>(kind)].insert(s.m_nCoup);
        }
    }
    QStringList sentences;
    std::vector<int> all;
    for (int k = 0; k < 2; ++k) {
        if (concerned[k].empty()) {
            continue;
        }
        QStringList couplings;
        for (int32_t c : used[k]) {
            couplings << names::kCoupling.Lookup(c);
        }
        const int32_t needed = k == 0 ? r.lineToLineCoup : r.lineToEarthCoup;
        const QString kind = KindText(static_cast<PathKind>(k));
        sentences << QStringLiteral("%1 %2 %3 the coupling %4; a %2 path needs %5 or STANDARD.")
                         .arg(QString::number(concerned[k].size()), kind,
                              concerned[k].size() == 1 ? QStringLiteral("step uses")
                                                       : QStringLiteral("steps use"),
                              couplings.join(QStringLiteral(", ")),
                              names::kCoupling.Lookup(needed));
        all.insert(all.end(), concerned[k].begin(), concerned[k].end());
    }
    if (sentences.isEmpty()) {
        return {};
    }
    return {Make(r, sentences.join(QLatin1Char(' ')), all)};
}

}  // namespace

PathKind KindOfLine(int32_t port, int32_t line) {
    return IsCommonLine(port, line) ? PathKind::LineToEarth : PathKind::LineToLine;
}

bool PortHasPathKinds(int32_t port) {
    return port == kPortAc || port == kPortDc;
}

uint32_t EarthPathsOf(int32_t port, int32_t detail) {
    if (port == kPortDc) {
        return detail == 1 ? Bits({2, 3}) : 0;  // "+ - PE", "- - PE"
    }
    if (port != kPortAc) {
        return 0;
    }
    switch (detail) {
        case 1:  // L, N, PE: "L  - PE", "N  - PE"
            return Bits({12, 13});
        case 2:  // L1, L2, N, PE
            return Bits({12, 13, 15});
        case 5:  // L1, L2, L3, N, PE
            return Bits({12, 13, 14, 15});
        case kAcThreePhasePE:  // L1, L2, L3, PE
            return Bits({12, 13, 14});
        default:
            return 0;
    }
}

bool RequiredVoltages(const StandardProfile& profile, const QString& level, int32_t xVoltage,
                      LevelVoltages& out) {
    out = LevelVoltages();
    if (level == AnyVoltageLevel()) {
        if (!profile.FindLevel(level) || xVoltage <= 0) {
            return false;
        }
        out.lineToLine = {xVoltage};
        out.lineToEarth = {xVoltage};
        return true;
    }
    for (const ProfileLevel& l : profile.levels) {
        if (l.AnyVoltage()) {
            continue;
        }
        out.lineToLine.push_back(l.lineToLine);
        out.lineToEarth.push_back(l.lineToEarth);
        if (l.id == level) {
            return true;
        }
    }
    out = LevelVoltages();
    return false;
}

std::vector<Finding> CheckPlan(const CSettingData& record, const ExecDataList& steps,
                               const StandardProfile& profile, const QString& level,
                               int32_t xVoltage) {
    const OUTPUT_PORT* slot = record.SelectedPort();
    const Plan plan{record, steps, record.m_outOutput.m_nOutputPort,
                    slot ? slot->m_nOutputDetail : -1};
    std::vector<Finding> findings;
    for (const ProfileRule& r : profile.rules) {
        if (!r.AppliesTo(plan.port)) {
            continue;
        }
        std::vector<Finding> found;
        if (r.kind == QLatin1String(rule::kPolarities)) {
            found = Polarities(plan, r);
        } else if (r.kind == QLatin1String(rule::kAngles)) {
            found = Angles(plan, r);
        } else if (r.kind == QLatin1String(rule::kPulses)) {
            found = Pulses(plan, r);
        } else if (r.kind == QLatin1String(rule::kInterval)) {
            found = Interval(plan, r);
        } else if (r.kind == QLatin1String(rule::kLevels)) {
            found = Levels(plan, r, profile, level, xVoltage);
        } else if (r.kind == QLatin1String(rule::kPaths)) {
            found = Paths(plan, r);
        } else if (r.kind == QLatin1String(rule::kCoupling)) {
            found = Coupling(plan, r);
        }
        findings.insert(findings.end(), found.begin(), found.end());
    }
    return findings;
}

QString KiloVolts(int32_t volts) {
    return QStringLiteral("%1 kV").arg(QString::number(volts / 1000.0, 'g', 6));
}

}  // namespace zeb

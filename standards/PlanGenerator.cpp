#include "PlanGenerator.h"

#include <QSet>

#include <algorithm>
#include <map>

#include "Capabilities.h"
#include "NameTables.h"
#include "PlanCheck.h"

namespace zeb {

namespace {

// AC lines from this bit on run several lines against one ("L1+L2+L3 - N").
constexpr int kFirstCombinedAcLine = 16;

// Collects what the machine cannot do, under the rule it leaves unmet.
class Shortfalls {
public:
    Shortfalls(const StandardProfile& profile, int32_t port, std::vector<Finding>& out)
        : m_profile(profile), m_port(port), m_out(out) {}
    void Add(const char* kind, const QString& text) {
        const ProfileRule* r = m_profile.RuleFor(kind, m_port);
        m_out.push_back(Finding{QLatin1String(kind),
                                r ? r->severity : Severity::Warning,
                                r ? r->citation : QString(),
                                text,
                                {}});
    }

private:
    const StandardProfile& m_profile;
    int32_t m_port;
    std::vector<Finding>& m_out;
};

QString Hex(uint32_t type) {
    return QStringLiteral("0x%1").arg(type, 0, 16);
}

// The two ends of a line-to-line path, whichever way round, from the line's name ("L1 - N").
QString PairOf(const NameTable& table, int bit) {
    QStringList ends = table.Lookup(bit).simplified().split(QStringLiteral(" - "));
    if (ends.size() != 2) {
        return QString();
    }
    ends.sort();
    return ends.join(QLatin1Char('|'));
}

// Each level's voltage for one path kind, as the list is built: (volts, line-to-line wanted,
// line-to-earth wanted), ascending.
using VoltageMarks = std::map<int32_t, std::pair<bool, bool>>;

VoltageMarks Voltages(const StandardProfile& profile, const StandardRef& ref,
                      const LevelVoltages& required, bool lineToLine, bool lineToEarth) {
    VoltageMarks marks;
    const auto add = [&](const std::vector<int32_t>& volts, bool normal) {
        for (int32_t v : volts) {
            (normal ? marks[v].first : marks[v].second) = true;
        }
    };
    if (lineToLine) {
        add(required.lineToLine, true);
    }
    if (lineToEarth) {
        add(required.lineToEarth, false);
    }
    if (ref.level == AnyVoltageLevel()) {
        // "All lower levels": the fixed levels below the chosen voltage go first.
        for (const ProfileLevel& l : profile.levels) {
            if (l.AnyVoltage()) {
                continue;
            }
            if (lineToLine && l.lineToLine < ref.voltage) {
                marks[l.lineToLine].first = true;
            }
            if (lineToEarth && l.lineToEarth < ref.voltage) {
                marks[l.lineToEarth].second = true;
            }
        }
    }
    return marks;
}

void SetVoltageList(CSettingData& r, const VoltageMarks& marks, bool flagged,
                    Shortfalls& shortfalls) {
    VALUE& v = r.m_valVolt;
    v.m_nValueType = kValueVariable;
    v.m_nVariableKind = flagged ? 1 : 0;
    std::fill(std::begin(v.m_abUse), std::end(v.m_abUse), 0);
    std::fill(std::begin(v.m_abUse2), std::end(v.m_abUse2), 0);
    int i = 0;
    for (const auto& [volts, kinds] : marks) {
        if (i == kSlotCount) {
            shortfalls.Add(rule::kLevels,
                           QStringLiteral("A voltage list holds %1 voltages; the levels ask for "
                                          "%2, and those above %3 are left out.")
                               .arg(kSlotCount)
                               .arg(marks.size())
                               .arg(KiloVolts(v.m_alValue[kSlotCount - 1])));
            break;
        }
        v.m_alValue[i] = volts;
        v.m_abUse[i] = flagged ? kinds.first : 1;
        v.m_abUse2[i] = flagged ? kinds.second : 0;
        ++i;
    }
}

void SetAngles(CSettingData& r, const PortCapabilities& pc, const ProfileRule& rule,
               Shortfalls& shortfalls) {
    OUTPUT_PORT& op = r.m_outOutput.m_aopOutputPort[kPortAc];
    if (!pc.phaseSync) {
        shortfalls.Add(rule::kAngles, QStringLiteral("The machine cannot synchronise the AC surges "
                                                     "to the mains phase; the angles are not "
                                                     "reached."));
        return;
    }
    std::vector<int32_t> angles = rule.angles;
    std::sort(angles.begin(), angles.end());
    angles.erase(std::unique(angles.begin(), angles.end()), angles.end());
    if (angles.size() > static_cast<size_t>(kSlotCount)) {
        shortfalls.Add(rule::kAngles,
                       QStringLiteral("An angle list holds %1 angles; the rule asks for %2.")
                           .arg(kSlotCount)
                           .arg(angles.size()));
        angles.resize(kSlotCount);
    }
    op.m_nSync = 1;
    VALUE& a = op.m_valAngle;
    a.m_nValueType = kValueVariable;
    a.m_nVariableKind = 0;
    for (int i = 0; i < kSlotCount; ++i) {
        const bool used = i < static_cast<int>(angles.size());
        a.m_abUse[i] = used ? 1 : 0;
        a.m_abUse2[i] = 0;
        a.m_alValue[i] = used ? angles[static_cast<size_t>(i)] : 0;
    }
}

void SetInterval(CSettingData& r, const MachineCapabilities& caps, const ProfileRule& rule,
                 int32_t highestVolts, Shortfalls& shortfalls) {
    const int32_t waveform = r.m_outOutput.m_aopOutputPort[r.m_outOutput.m_nOutputPort].m_nWaveform;
    const int32_t entryMin = caps.IntervalMinimum(waveform).value_or(r.m_vlRept.m_lMin);
    r.m_lRept = std::max(rule.maximum, entryMin);
    const int32_t stepMin = caps.StepIntervalMinimum(waveform, highestVolts);
    if (stepMin > rule.maximum) {
        shortfalls.Add(rule::kInterval,
                       QStringLiteral("The generator needs at least %1 s between surges at %2; "
                                      "the rule allows at most %3 s.")
                           .arg(stepMin)
                           .arg(KiloVolts(highestVolts))
                           .arg(rule.maximum));
    }
}

}  // namespace

uint32_t RequiredPaths(const StandardProfile& profile, uint32_t machineType, int32_t hwVersion,
                       int32_t port, int32_t configuration, bool lineToLine, bool lineToEarth) {
    const MachineCapabilities caps = CapabilitiesOf(machineType, hwVersion);
    const PortCapabilities* pc = caps.Port(port);
    if (!pc || !pc->Configuration(configuration)) {
        return 0;
    }
    const uint32_t offered = pc->LinesOf(configuration);
    if (!PortHasPathKinds(port) || !profile.RuleFor(rule::kPaths, port)) {
        return offered;  // the rules name no paths here: every line of the configuration
    }
    uint32_t lines = 0;
    if (lineToLine) {
        const NameTable* table = LineTable(port, configuration, machineType);
        QSet<QString> pairs;
        for (int bit = 0; bit < 32 && table; ++bit) {
            const uint32_t b = 1u << bit;
            if (!(offered & b) || !(NormalLines(port) & b) ||
                (port == kPortAc && bit >= kFirstCombinedAcLine)) {
                continue;
            }
            const QString pair = PairOf(*table, bit);
            if (!pair.isEmpty() && !pairs.contains(pair)) {
                pairs.insert(pair);
                lines |= b;
            }
        }
    }
    if (lineToEarth) {
        lines |= EarthPathsOf(port, configuration) & offered;
    }
    return lines;
}

bool GeneratePlan(const StandardProfile& profile, const PlanRequest& request, PlanResult& result,
                  QString& error) {
    const StandardRef& ref = request.standard;
    LevelVoltages required;
    if (ref.profile != profile.id) {
        error = QStringLiteral("The plan asks for the profile %1, not %2.")
                    .arg(ref.profile, profile.id);
        return false;
    }
    if (!RequiredVoltages(profile, ref.level, ref.voltage, required)) {
        error = ref.level == AnyVoltageLevel() && profile.FindLevel(ref.level)
                    ? QStringLiteral("Level X needs a test voltage.")
                    : QStringLiteral("%1 has no level %2 (its levels: %3).")
                          .arg(profile.title, ref.level, profile.LevelList());
        return false;
    }
    const MachineCapabilities caps = CapabilitiesOf(request.machineType, request.hwVersion);
    const PortCapabilities* pc = caps.Port(request.port);
    const NameTable* details = OutputDetailTable(request.port);
    if (!pc) {
        error = QStringLiteral("The machine type %1 has no %2.")
                    .arg(Hex(request.machineType), names::kOutputPort.Lookup(request.port).isEmpty()
                                                       ? QStringLiteral("such port")
                                                       : names::kOutputPort.Lookup(request.port));
        return false;
    }
    if (!pc->Configuration(request.configuration)) {
        error = QStringLiteral(
                    "The %1 of machine type %2 (hardware version %3) has no line "
                    "configuration %4.")
                    .arg(pc->name, Hex(request.machineType))
                    .arg(request.hwVersion)
                    .arg(request.configuration);
        return false;
    }
    const uint32_t offered = pc->LinesOf(request.configuration);
    const uint32_t lines =
        request.lines != 0
            ? request.lines & offered
            : RequiredPaths(profile, request.machineType, request.hwVersion, request.port,
                            request.configuration, request.lineToLine, request.lineToEarth);
    if (lines == 0) {
        error = QStringLiteral("No path of the kinds asked for is offered on %1.")
                    .arg(details ? details->Lookup(request.configuration).simplified() : pc->name);
        return false;
    }

    PlanResult out;
    Shortfalls shortfalls(profile, request.port, out.shortfalls);
    if (const uint32_t missing = EarthPathsOf(request.port, request.configuration) & ~offered;
        missing != 0 && request.lineToEarth && profile.RuleFor(rule::kPaths, request.port)) {
        shortfalls.Add(rule::kPaths, QStringLiteral("The machine offers not every line of this "
                                                    "configuration to earth."));
    }
    const bool normal = !PortHasPathKinds(request.port) || (lines & NormalLines(request.port));
    const bool common = PortHasPathKinds(request.port) && (lines & CommonLines(request.port));
    const VoltageMarks marks = Voltages(profile, ref, required, normal, common);
    const int32_t highest = marks.empty() ? 0 : marks.rbegin()->first;
    if (highest > pc->voltageMax) {
        error = QStringLiteral("The level asks for %1; the %2 of this machine delivers at most %3.")
                    .arg(KiloVolts(highest), pc->name, KiloVolts(pc->voltageMax));
        return false;
    }

    CSettingData& r = out.record;
    r.m_ulMachineType = request.machineType;
    r.m_nHWVersion = request.hwVersion;
    r.SetDefault();
    r.m_outOutput.m_nOutputPort = request.port;
    OUTPUT_PORT& op = r.m_outOutput.m_aopOutputPort[request.port];
    op.m_nOutputDetail = request.configuration;
    op.m_aulInjRetBit[request.configuration] = lines;
    if (!pc->waveforms.empty() && !pc->OffersWaveform(op.m_nWaveform)) {
        op.m_nWaveform = pc->waveforms.front().code;
    }
    if (PortHasPathKinds(request.port)) {
        op.m_nCoup = kCouplingStandard;
    }
    const bool flagged =
        normal && common && HasBothLineKinds(request.port, request.configuration) &&
        std::any_of(marks.begin(), marks.end(),
                    [](const auto& m) { return m.second.first != m.second.second; });
    SetVoltageList(r, marks, flagged, shortfalls);
    r.m_ulPola = 3;
    if (const ProfileRule* pulses = profile.RuleFor(rule::kPulses, request.port)) {
        r.m_lDisc = std::clamp(pulses->count, r.m_vlDisc.m_lMin, r.m_vlDisc.m_lMax);
    }
    if (const ProfileRule* interval = profile.RuleFor(rule::kInterval, request.port)) {
        SetInterval(r, caps, *interval, highest, shortfalls);
    }
    if (const ProfileRule* angles = profile.RuleFor(rule::kAngles, request.port)) {
        SetAngles(r, *pc, *angles, shortfalls);
    }
    if (r.StepCount() > kMaxStepCount) {
        error = QStringLiteral("The plan would make %1 test steps; a plan holds at most %2.")
                    .arg(r.StepCount())
                    .arg(kMaxStepCount);
        return false;
    }
    result = out;
    return true;
}

}  // namespace zeb

#include "StepCheck.h"

#include "Capabilities.h"
#include "NameTables.h"
#include "SettingData.h"

namespace zeb {

namespace {

// A value as the entry pages show it, with its unit ("15.0 kV", "999 s").
QString Shown(int64_t value, const VALUE_LIMIT& limit, const char* unit) {
    double shown = static_cast<double>(value);
    for (int i = 0; i < limit.m_nExponent; ++i) {
        shown /= 10.0;
    }
    const QString number = QString::number(shown, 'f', limit.m_nDecimals);
    return *unit ? QStringLiteral("%1 %2").arg(number, QLatin1String(unit)) : number;
}

QString Refusal(const QString& what) {
    return QStringLiteral("%1\nThe test step is not sent to the instrument.").arg(what);
}

bool InRange(const char* name, int32_t value, int32_t min, const VALUE_LIMIT& limit,
             const char* unit, QString& problem) {
    if (value >= min && value <= limit.m_lMax) {
        return true;
    }
    problem = Refusal(QStringLiteral("The %1 of the test step, %2, is outside %3 to %4.")
                          .arg(QLatin1String(name), Shown(value, limit, unit),
                               Shown(min, limit, unit), Shown(limit.m_lMax, limit, unit)));
    return false;
}

bool Known(const char* name, int32_t code, bool known, QString& problem) {
    if (known) {
        return true;
    }
    problem = Refusal(QStringLiteral("The %1 code of the test step, %2, is not one the "
                                     "instrument knows.")
                          .arg(QLatin1String(name))
                          .arg(code));
    return false;
}

// A code the instrument knows but the machine does not offer on this port (a waveform, line
// configuration, line, coupling or impedance the editor never lists for it).
bool Offered(const char* name, const QString& shown, bool offered, const PortCapabilities& port,
             QString& problem) {
    if (offered) {
        return true;
    }
    problem = Refusal(QStringLiteral("The %1 of the test step, %2, is not offered on the %3 of "
                                     "this machine type.")
                          .arg(QLatin1String(name), shown.trimmed(), port.name));
    return false;
}

bool IsFlag(int32_t value) {
    return value == 0 || value == 1;
}

}  // namespace

bool CheckStepValues(const CExecData& step, QString& problem) {
    problem.clear();
    const uint32_t type = step.m_ulMachineType;
    const int32_t port = step.m_nOutputPort;
    // The step does not know the hardware it runs on: the widest offer of the machine type.
    const MachineCapabilities caps = CapabilitiesOf(type, kAnyHardwareVersion);
    const PortCapabilities* offer = caps.Port(port);
    if (!Known("output port", port, offer != nullptr, problem)) {
        return false;
    }
    // Each code is first looked up in its name table, then in what the machine offers; an empty
    // list of the table is no choice, and the code is left as the record holds it.
    const int32_t detail = step.m_nOutputDetail;
    const NameTable* details = OutputDetailTable(port);
    if (!Known("output lines", detail, details && details->Contains(detail), problem) ||
        !Offered("output lines", details->Lookup(detail),
                 offer->lineConfigurations.empty() || offer->Configuration(detail), *offer,
                 problem)) {
        return false;
    }
    const NameTable* lines = LineTable(port, detail, type);
    const int32_t line = step.m_nInjRet;
    const bool lineKnown = lines && lines->Contains(line);
    if (!Known("INJ - RET line", line, lineKnown, problem) ||
        !Offered("INJ - RET line", lines->Lookup(line),
                 offer->lineConfigurations.empty() || (offer->LinesOf(detail) & LineBit(line)),
                 *offer, problem)) {
        return false;
    }
    // The surge output has no coupling; its code is not sent.
    if (const NameTable* coupling = CouplingTable(port, type)) {
        if (!Known("coupling", step.m_nCoup, coupling->Contains(step.m_nCoup), problem) ||
            !Offered("coupling", coupling->Lookup(step.m_nCoup),
                     offer->couplings.empty() || offer->OffersCoupling(step.m_nCoup), *offer,
                     problem)) {
            return false;
        }
    }
    const int32_t wave = step.m_nWaveform;
    const bool ring = wave == kWaveRing;
    if (!Known("waveform", wave, names::kWaveform.Contains(wave), problem) ||
        !Offered("waveform", names::kWaveform.Lookup(wave),
                 offer->waveforms.empty() || offer->OffersWaveform(wave), *offer, problem) ||
        !Known("ring wave impedance", step.m_nRingRegi,
               !ring || names::kRingImpedance.Contains(step.m_nRingRegi), problem) ||
        !Offered(
            "ring wave impedance", names::kRingImpedance.Lookup(step.m_nRingRegi),
            !ring || offer->ringImpedances.empty() || offer->OffersRingImpedance(step.m_nRingRegi),
            *offer, problem) ||
        !Known("sync", step.m_nSync, names::kSync.Contains(step.m_nSync), problem) ||
        !Offered("sync", names::kSync.Lookup(step.m_nSync), step.m_nSync == 0 || offer->phaseSync,
                 *offer, problem) ||
        !Known("polarity", step.m_nPola, IsFlag(step.m_nPola), problem) ||
        !Known("varistor test mode", step.m_bVaristorTestMode, IsFlag(step.m_bVaristorTestMode),
               problem)) {
        return false;
    }

    // The entry limits of the editor, with the instrument's maximum for this machine and port
    // and its shortest interval for this waveform and voltage.
    CSettingData limits;
    limits.m_vlVolt.m_lMax = offer->voltageMax;
    const int32_t minInterval = step.MinInterval();
    return InRange("voltage", step.m_lVolt, limits.m_vlVolt.m_lMin, limits.m_vlVolt, "kV",
                   problem) &&
           InRange("number of discharges", step.m_lDisc, limits.m_vlDisc.m_lMin, limits.m_vlDisc,
                   "", problem) &&
           InRange("interval", step.m_lRept, minInterval, limits.m_vlRept, "s", problem) &&
           InRange("phase angle", step.m_lAngle, limits.m_vlAngle.m_lMin, limits.m_vlAngle, "deg",
                   problem);
}

}  // namespace zeb

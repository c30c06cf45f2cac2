#include "StepCheck.h"

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

bool IsFlag(int32_t value) {
    return value == 0 || value == 1;
}

}  // namespace

bool CheckStepValues(const CExecData& step, QString& problem) {
    problem.clear();
    const uint32_t type = step.m_ulMachineType;
    const int32_t port = step.m_nOutputPort;
    if (!Known("output port", port, PortOffered(type, port), problem)) {
        return false;
    }
    const NameTable* details = OutputDetailTable(port);
    if (!Known("output lines", step.m_nOutputDetail,
               details && details->Contains(step.m_nOutputDetail), problem)) {
        return false;
    }
    const NameTable* lines = LineTable(port, step.m_nOutputDetail, type);
    if (!Known("INJ - RET line", step.m_nInjRet, lines && lines->Contains(step.m_nInjRet),
               problem)) {
        return false;
    }
    // The surge output has no coupling; its code is not sent.
    if (const NameTable* coupling = CouplingTable(port, type)) {
        if (!Known("coupling", step.m_nCoup, coupling->Contains(step.m_nCoup), problem)) {
            return false;
        }
    }
    if (!Known("waveform", step.m_nWaveform, names::kWaveform.Contains(step.m_nWaveform),
               problem) ||
        !Known("ring wave impedance", step.m_nRingRegi,
               step.m_nWaveform != kWaveRing || names::kRingImpedance.Contains(step.m_nRingRegi),
               problem) ||
        !Known("sync", step.m_nSync, names::kSync.Contains(step.m_nSync), problem) ||
        !Known("polarity", step.m_nPola, IsFlag(step.m_nPola), problem) ||
        !Known("varistor test mode", step.m_bVaristorTestMode, IsFlag(step.m_bVaristorTestMode),
               problem)) {
        return false;
    }

    // The entry limits of the editor, with the instrument's maximum for this machine and port
    // and its shortest interval for this waveform and voltage.
    CSettingData limits;
    limits.m_vlVolt.m_lMax = VoltageMax(type, port);
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

// Captions and texts of the fifteen display items of a test step or a whole test condition,
// shared by the step list, the summary view and the reports.

#include <QStringList>

#include "NameTables.h"
#include "SettingData.h"

namespace zeb {

namespace {

QString Kv(int32_t volts) {
    return QString::number(volts / 1000.0, 'f', 1);
}

// A code outside its table goes back to its default.
void Correct(int32_t& code, bool outOfRange, int32_t fallback) {
    if (outOfRange) {
        code = fallback;
    }
}

// The correction one item makes before it names a code: each field to its default (port 0,
// line configuration 0, line 1, coupling 0, waveform 0, ring 0, sync 0, polarity 1, result 0).
// Codes below the tables are left alone; they name nothing.
void CorrectItem(CExecData& s, int item) {
    switch (item) {
        case kItemPort:
            Correct(s.m_nOutputPort, s.m_nOutputPort > kPortTelecom, kPortAc);
            break;
        case kItemDetail:
            if (const NameTable* table = OutputDetailTable(s.m_nOutputPort)) {
                Correct(s.m_nOutputDetail, s.m_nOutputDetail >= table->size, 0);
            }
            break;
        case kItemLine:
            if (const NameTable* table =
                    LineTable(s.m_nOutputPort, s.m_nOutputDetail, s.m_ulMachineType)) {
                Correct(s.m_nInjRet, s.m_nInjRet >= table->size, 1);
            }
            break;
        case kItemCoupling:
            if (CouplingTable(s.m_nOutputPort, s.m_ulMachineType)) {
                Correct(s.m_nCoup, s.m_nCoup >= kCouplingCount, kCouplingStandard);
            }
            break;
        case kItemWaveform:
            Correct(s.m_nWaveform, s.m_nWaveform >= kWaveformCount, kWave1250);
            break;
        case kItemRing:
            if (s.m_nWaveform == kWaveRing) {
                Correct(s.m_nRingRegi, s.m_nRingRegi > kRingWave12Ohm, kRingWave30Ohm);
            }
            break;
        case kItemSync:
            if (s.m_nOutputPort == kPortAc) {
                Correct(s.m_nSync, s.m_nSync > 1, 0);
            }
            break;
        case kItemPolarity:
            Correct(s.m_nPola, s.m_nPola > 2, 1);
            break;
        case kItemResult:
            Correct(s.m_nResult, s.m_nResult > kResultPass, kResultNone);
            break;
        default:
            break;
    }
}

QString ModeLabel(int32_t mode) {
    switch (mode) {
        case kModeNormalCommon:
            return QStringLiteral(" (NORMAL & COMMON)");
        case kModeNormal:
            return QStringLiteral(" (NORMAL)");
        case kModeCommon:
            return QStringLiteral(" (COMMON)");
        default:
            return QString();
    }
}

// Fixed value, sweep with its three labels, or the list of values; format turns one stored
// value into text. With withModes, list values of a NORMAL/COMMON set carry their mode (only
// voltages are marked so; an angle list is shown as plain values whatever its kind).
template <typename Format>
QString ValueSetText(const VALUE& val, Format format, bool withModes) {
    switch (val.m_nValueType) {
        case kValueFixed:
            return format(val.m_lValue);
        case kValueSweep:
            return QStringLiteral("START:%1, END  :%2, STEP :%3")
                .arg(format(val.m_lStart), format(val.m_lEnd), format(val.m_lStep));
        case kValueVariable: {
            QStringList parts;
            const int32_t n = val.ValueCount();
            for (int32_t i = 0; i < n; ++i) {
                int32_t mode = 0;
                const int32_t v = val.ValueAt(i, mode);
                parts << (withModes ? format(v) + ModeLabel(mode) : format(v));
            }
            return parts.join(QStringLiteral(", "));
        }
        default:
            return QString();
    }
}

}  // namespace

QString CExecData::GetItemCaption(int item) const {
    switch (item) {
        case kItemPort:
            return QStringLiteral("Output port");
        case kItemDetail:
            return QStringLiteral("Output lines");
        case kItemLine:
            return m_nOutputPort == kPortTelecom ? QStringLiteral("RET")
                                                 : QStringLiteral("INJ - RET");
        case kItemCoupling:
            return m_nOutputPort == kPortTelecom ? QStringLiteral("Impedance[Ohm]")
                                                 : QStringLiteral("Coupling");
        case kItemWaveform:
            return QStringLiteral("Waveform");
        case kItemRing:
            return m_nWaveform == kWaveRing ? QStringLiteral("Impedance[Ohm]") : QString();
        case kItemSync:
            return QStringLiteral("Sync.");
        case kItemAngle:
            return QStringLiteral("Angle[deg.]");
        case kItemVoltage:
            return QStringLiteral("Voltage");
        case kItemPolarity:
            return QStringLiteral("Polarity");
        case kItemDischarge:
            return QStringLiteral("Discharge");
        case kItemInterval:
            return QStringLiteral("Interval");
        case kItemResult:
            return QStringLiteral("Result");
        case kItemComment:
            return QStringLiteral("Comment");
        case kItemVaristor:
            return QStringLiteral("Varistor test mode");
        default:
            return QString();
    }
}

namespace {

// The text of one item of a step whose codes that item names are already corrected.
QString TextOf(const CExecData& s, int item) {
    switch (item) {
        case kItemPort:
            return names::kOutputPort.Lookup(s.m_nOutputPort);
        case kItemDetail: {
            const NameTable* table = OutputDetailTable(s.m_nOutputPort);
            return table ? table->Lookup(s.m_nOutputDetail) : QString();
        }
        case kItemLine: {
            const NameTable* table =
                LineTable(s.m_nOutputPort, s.m_nOutputDetail, s.m_ulMachineType);
            return table ? table->Lookup(s.m_nInjRet) : QString();
        }
        case kItemCoupling: {
            const NameTable* table = CouplingTable(s.m_nOutputPort, s.m_ulMachineType);
            return table ? table->Lookup(s.m_nCoup) : QString();
        }
        case kItemWaveform:
            return names::kWaveform.Lookup(s.m_nWaveform);
        case kItemRing:
            return s.m_nWaveform == kWaveRing ? names::kRingImpedance.Lookup(s.m_nRingRegi)
                                              : QString();
        case kItemSync:
            return s.m_nOutputPort == kPortAc ? names::kSync.Lookup(s.m_nSync) : QString();
        case kItemAngle:
            // The angle means something only while discharges follow the mains phase.
            return (s.m_nOutputPort == kPortAc && s.m_nSync == 1) ? QString::number(s.m_lAngle)
                                                                  : QString();
        case kItemVoltage:
            return s.m_lVolt == 0 ? QStringLiteral("0") : Kv(s.m_lVolt);
        case kItemPolarity:
            return names::kPolarity.Lookup(s.m_nPola);
        case kItemDischarge:
            return QString::number(s.m_lDisc);
        case kItemInterval:
            return QString::number(s.m_lRept);
        case kItemResult:
            return names::kResult.Lookup(s.m_nResult);
        case kItemComment:
            return s.m_strComment;
        case kItemVaristor:
            return s.m_bVaristorTestMode ? QStringLiteral("Varistor test mode") : QString();
        default:
            return QString();
    }
}

}  // namespace

QString CExecData::GetItemText(int item) const {
    CExecData shown = *this;  // plain values and a shared string: cheap
    CorrectItem(shown, item);
    return TextOf(shown, item);
}

void CExecData::CorrectPanelCodes() {
    CorrectItem(*this, kItemPort);
    CorrectItem(*this, kItemDetail);
    // No waveform or ring impedance has a negative code; the panel shows the default one.
    if (m_nWaveform < 0) {
        m_nWaveform = kWave1250;
    }
    CorrectItem(*this, kItemWaveform);
    if (m_nWaveform == kWaveRing && m_nRingRegi < 0) {
        m_nRingRegi = kRingWave30Ohm;
    }
    CorrectItem(*this, kItemRing);
}

QString CSettingData::GetItemCaption(int item) const {
    return TemplateStep().GetItemCaption(item);
}

QString CSettingData::GetItemText(int item) const {
    const OUTPUT_PORT* s = SelectedPort();
    switch (item) {
        case kItemLine: {
            const int32_t port = m_outOutput.m_nOutputPort;
            if (!s || s->m_nOutputDetail < 0 || s->m_nOutputDetail >= kSlotCount) {
                return QString();
            }
            const NameTable* table = LineTable(port, s->m_nOutputDetail, m_ulMachineType);
            if (!table) {
                return QString();
            }
            QStringList parts;
            const uint32_t bits = s->m_aulInjRetBit[s->m_nOutputDetail];
            for (int32_t b = 0; b < 32; ++b) {
                if ((bits & (1u << b)) && table->Contains(b)) {
                    parts << table->Lookup(b);
                }
            }
            return parts.join(QStringLiteral(", "));
        }
        case kItemAngle:
            if (!s || s->m_nSync != 1) {
                return QString();
            }
            return ValueSetText(
                s->m_valAngle, [](int32_t v) { return QString::number(v); }, false);
        case kItemVoltage:
            return ValueSetText(m_valVolt, Kv, true);
        case kItemPolarity:
            switch (m_ulPola & 3u) {
                case 3:
                    return QStringLiteral("+/-");
                case 1:
                    return QStringLiteral("+");
                case 2:
                    return QStringLiteral("-");
                default:
                    return QString();
            }
        default:
            return TemplateStep().GetItemText(item);
    }
}

}  // namespace zeb

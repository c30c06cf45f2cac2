// Captions and texts of the fifteen display items of a test step or a whole test condition,
// shared by the step list, the summary view and the reports.

#include <QStringList>

#include "NameTables.h"
#include "SettingData.h"

namespace zeb {

namespace {

enum Item {
    kItemPort = 1,
    kItemDetail,
    kItemLine,
    kItemCoupling,
    kItemWaveform,
    kItemRing,
    kItemSync,
    kItemAngle,
    kItemVoltage,
    kItemPolarity,
    kItemDischarge,
    kItemInterval,
    kItemResult,
    kItemComment,
    kItemVaristor,
};

QString Kv(int32_t volts) {
    return QString::number(volts / 1000.0, 'f', 1);
}

// A code outside its table goes back to its default in the step, so a later save stores it.
void Correct(int32_t& code, bool outOfRange, int32_t fallback) {
    if (outOfRange) {
        code = fallback;
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
            return m_nWaveform == 2 ? QStringLiteral("Impedance[Ohm]") : QString();
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

QString CExecData::GetItemText(int item) {
    switch (item) {
        case kItemPort:
            Correct(m_nOutputPort, m_nOutputPort > 3, 0);
            return names::kOutputPort.Lookup(m_nOutputPort);
        case kItemDetail: {
            const NameTable* table = OutputDetailTable(m_nOutputPort);
            if (!table) {
                return QString();
            }
            Correct(m_nOutputDetail, m_nOutputDetail >= table->size, 0);
            return table->Lookup(m_nOutputDetail);
        }
        case kItemLine: {
            const NameTable* table = LineTable(m_nOutputPort, m_nOutputDetail, m_ulMachineType);
            if (!table) {
                return QString();
            }
            Correct(m_nInjRet, m_nInjRet >= table->size, 1);
            return table->Lookup(m_nInjRet);
        }
        case kItemCoupling: {
            const NameTable* table = CouplingTable(m_nOutputPort, m_ulMachineType);
            if (!table) {
                return QString();
            }
            Correct(m_nCoup, m_nCoup > 2, 0);
            return table->Lookup(m_nCoup);
        }
        case kItemWaveform:
            Correct(m_nWaveform, m_nWaveform > 2, 0);
            return names::kWaveform.Lookup(m_nWaveform);
        case kItemRing:
            if (m_nWaveform != 2) {
                return QString();
            }
            Correct(m_nRingRegi, m_nRingRegi > 1, 0);
            return names::kRingImpedance.Lookup(m_nRingRegi);
        case kItemSync:
            if (m_nOutputPort != kPortAc) {
                return QString();
            }
            Correct(m_nSync, m_nSync > 1, 0);
            return names::kSync.Lookup(m_nSync);
        case kItemAngle:
            // The angle means something only while discharges follow the mains phase.
            return (m_nOutputPort == kPortAc && m_nSync == 1) ? QString::number(m_lAngle)
                                                              : QString();
        case kItemVoltage:
            return m_lVolt == 0 ? QStringLiteral("0") : Kv(m_lVolt);
        case kItemPolarity:
            Correct(m_nPola, m_nPola > 2, 1);
            return names::kPolarity.Lookup(m_nPola);
        case kItemDischarge:
            return QString::number(m_lDisc);
        case kItemInterval:
            return QString::number(m_lRept);
        case kItemResult:
            Correct(m_nResult, m_nResult > 2, 0);
            return names::kResult.Lookup(m_nResult);
        case kItemComment:
            return m_strComment;
        case kItemVaristor:
            return m_bVaristorTestMode ? QStringLiteral("Varistor test mode") : QString();
        default:
            return QString();
    }
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
        default: {
            CExecData step = TemplateStep();
            return step.GetItemText(item);
        }
    }
}

}  // namespace zeb

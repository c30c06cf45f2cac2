#include "ConditionRows.h"

#include "InstrumentRules.h"
#include "SettingData.h"

namespace zeb {

namespace {
// Which display item fills each row.
constexpr DisplayItem kRowItem[kConditionRowCount] = {
    kItemPort,     kItemDetail,  kItemCoupling, kItemWaveform, kItemRing, kItemDischarge,
    kItemInterval, kItemVoltage, kItemLine,     kItemPolarity, kItemSync, kItemAngle};
constexpr int kRingRow = 4;
}  // namespace

std::array<ConditionRow, kConditionRowCount> ConditionRowsOf(const CSettingData& record) {
    const bool telecom = record.m_outOutput.m_nOutputPort == kPortTelecom;
    const QString captions[kConditionRowCount] = {
        QStringLiteral("Output port"),
        QStringLiteral("Output lines"),
        telecom ? QStringLiteral("Impedance") : QStringLiteral("Coupling"),
        QStringLiteral("Waveform"),
        QStringLiteral("Ring impedance"),
        QStringLiteral("Discharge count"),
        QStringLiteral("Interval [s]"),
        QStringLiteral("Voltage [kV]"),
        record.GetItemCaption(kItemLine),
        QStringLiteral("Polarity"),
        QStringLiteral("Synchronisation"),
        QStringLiteral("Phase angle [deg]"),
    };
    std::array<ConditionRow, kConditionRowCount> rows;
    for (int row = 0; row < kConditionRowCount; ++row) {
        rows[row].caption = captions[row];
        rows[row].value = record.GetItemText(kRowItem[row]);
    }
    // The ring impedance only means something for the ring wave; it disappears otherwise.
    rows[kRingRow].visible = !rows[kRingRow].value.isEmpty();
    return rows;
}

}  // namespace zeb

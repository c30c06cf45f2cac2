#include "SummaryContent.h"

#include "MachineModels.h"
#include "SettingData.h"

namespace zeb {

namespace {
// Which display item fills each row.
constexpr DisplayItem kRowItem[kSummaryRowCount] = {
    kItemPort,     kItemDetail,  kItemCoupling, kItemWaveform, kItemRing, kItemDischarge,
    kItemInterval, kItemVoltage, kItemLine,     kItemPolarity, kItemSync, kItemAngle};
}  // namespace

SummaryContent MakeSummary(const CSettingData& record) {
    SummaryContent content;
    GetModelName(record.m_ulMachineType, content.modelName);

    const bool telecom = record.m_outOutput.m_nOutputPort == kPortTelecom;
    const QString captions[kSummaryRowCount] = {
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
    for (int row = 0; row < kSummaryRowCount; ++row) {
        SummaryRow& r = content.rows[row];
        r.caption = captions[row];
        r.value = record.GetItemText(kRowItem[row]);
    }
    // The ring impedance only means something for the ring wave; it disappears otherwise.
    content.rows[kRowRingImpedance].visible = !content.rows[kRowRingImpedance].value.isEmpty();
    return content;
}

QString LineColumnHeader(const CSettingData& record) {
    return record.m_outOutput.m_nOutputPort == kPortTelecom ? QStringLiteral("RET")
                                                            : QStringLiteral("INJ - RET");
}

}  // namespace zeb

#pragma once
// The captioned rows of a test condition, as the summary view shows them and the issued report
// prints them: output port, output lines, coupling (impedance on the telecom port), waveform,
// ring impedance, discharge count, interval, voltage, lines, polarity, synchronisation, angle.

#include <QString>

#include <array>

namespace zeb {

class CSettingData;

// One captioned value. A hidden row shows neither caption, colon nor value.
struct ConditionRow {
    QString caption;
    QString value;
    bool visible = true;
};

constexpr int kConditionRowCount = 12;

// The rows in the order above; the ring impedance is hidden unless the waveform has one.
std::array<ConditionRow, kConditionRowCount> ConditionRowsOf(const CSettingData& record);

}  // namespace zeb

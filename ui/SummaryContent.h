#pragma once
// What the summary view of a settings document shows, worked out without a window: the model
// name, the captioned rows of the test condition and the step list's columns. The view only
// puts these texts into its labels; every refresh reads the document again.

#include <QString>
#include <QStringList>

#include <array>

#include "ConditionRows.h"

namespace zeb {

class CSettingData;
struct StandardVerdict;

using SummaryRow = ConditionRow;

// The rows, in the order they are laid out: the left column top to bottom, then the ring
// impedance beside the waveform.
enum SummaryRowId {
    kRowOutputPort,
    kRowOutputLines,
    kRowCoupling,
    kRowWaveform,
    kRowRingImpedance,
    kRowDischarge,
    kRowInterval,
    kRowVoltage,
    kRowLines,
    kRowPolarity,
    kRowSync,
    kRowAngle,
    kSummaryRowCount
};

static_assert(kSummaryRowCount == kConditionRowCount, "one row per condition row");

struct SummaryContent {
    QString modelName;
    std::array<SummaryRow, kSummaryRowCount> rows;
};

SummaryContent MakeSummary(const CSettingData& record);

// The "Standard" row and the list under the summary: the profile and level, then one line per
// finding, "Meets <title>, level n" when there is none, or why the plan could not be checked.
// Hidden for a document without a standard.
struct StandardSummary {
    SummaryRow row;
    QStringList lines;
    QStringList citations;  // per line, the rule's citation (empty where there is none)
    bool deviates = false;  // findings, or a standard that could not be checked
};
StandardSummary MakeStandardSummary(const StandardVerdict& verdict);

// The line column's header of the step list: "RET" on the telecom port, else "INJ - RET".
QString LineColumnHeader(const CSettingData& record);

}  // namespace zeb

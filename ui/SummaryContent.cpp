#include "SummaryContent.h"

#include <algorithm>

#include "ConditionRows.h"
#include "MachineModels.h"
#include "SettingData.h"
#include "StandardVerdict.h"

namespace zeb {

SummaryContent MakeSummary(const CSettingData& record) {
    SummaryContent content;
    GetModelName(record.m_ulMachineType, content.modelName);

    const auto rows = ConditionRowsOf(record);
    std::copy(rows.begin(), rows.end(), content.rows.begin());
    return content;
}

StandardSummary MakeStandardSummary(const StandardVerdict& verdict) {
    StandardSummary summary;
    summary.row.caption = QStringLiteral("Standard");
    summary.row.visible = verdict.HasStandard();
    if (!summary.row.visible) {
        return summary;
    }
    summary.row.value = StandardText(verdict);
    if (!verdict.Checked()) {
        summary.lines << verdict.problem;
        summary.citations << QString();
        summary.deviates = true;
    } else if (verdict.findings.empty()) {
        summary.lines << MeetsText(verdict);
        summary.citations << QString();
    } else {
        for (const Finding& f : verdict.findings) {
            summary.lines << FindingListText(f);
            summary.citations << f.citation;
        }
        summary.deviates = true;
    }
    return summary;
}

QString LineColumnHeader(const CSettingData& record) {
    return record.m_outOutput.m_nOutputPort == kPortTelecom ? QStringLiteral("RET")
                                                            : QStringLiteral("INJ - RET");
}

}  // namespace zeb

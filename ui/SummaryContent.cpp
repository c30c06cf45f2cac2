#include "SummaryContent.h"

#include <algorithm>

#include "ConditionRows.h"
#include "MachineModels.h"
#include "SettingData.h"

namespace zeb {

SummaryContent MakeSummary(const CSettingData& record) {
    SummaryContent content;
    GetModelName(record.m_ulMachineType, content.modelName);

    const auto rows = ConditionRowsOf(record);
    std::copy(rows.begin(), rows.end(), content.rows.begin());
    return content;
}

QString LineColumnHeader(const CSettingData& record) {
    return record.m_outOutput.m_nOutputPort == kPortTelecom ? QStringLiteral("RET")
                                                            : QStringLiteral("INJ - RET");
}

}  // namespace zeb

#include "SummaryStepModel.h"

#include <algorithm>

#include "SettingsDoc.h"
#include "StepColumns.h"
#include "SummaryContent.h"

namespace zeb {

CSummaryStepModel::CSummaryStepModel(CZebM40SettingsDoc& doc, QObject* parent)
    : CStepListModel(doc.Steps(), parent),
      m_doc(doc),
      m_lineHeader(LineColumnHeader(doc.Record())) {}

void CSummaryStepModel::Refresh() {
    m_lineHeader = LineColumnHeader(m_doc.Record());
    Refill();
    emit headerDataChanged(Qt::Horizontal, 0, kColumnCount - 1);
}

int CSummaryStepModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant CSummaryStepModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= kColumnCount) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    // A column's alignment holds for its header as for its cells.
    if (role == Qt::TextAlignmentRole) {
        return QVariant::fromValue(ColumnAlignment(section));
    }
    if (role == Qt::DisplayRole && section == kColLines) {
        return m_lineHeader;
    }
    return CStepListModel::headerData(section, orientation, role);
}

std::vector<int> CSummaryStepModel::ColumnWidths(int clientWidth, int scrollBarWidth) {
    const int usable = std::max(0, clientWidth - scrollBarWidth);
    std::vector<int> widths;
    for (const StepColumn& column : StepColumnsOf(StepList::Summary)) {
        widths.push_back(usable * column.share / StepListShares(StepList::Summary));
    }
    return widths;
}

}  // namespace zeb

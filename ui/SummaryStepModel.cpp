#include "SummaryStepModel.h"

#include <algorithm>

#include "SettingsDoc.h"
#include "SummaryContent.h"

namespace zeb {

namespace {
constexpr int kWidthFortieths[CSummaryStepModel::kColumnCount] = {5, 7, 6, 10, 5, 5};
// Step item shown in each column after the step number.
constexpr int kColumnItem[CSummaryStepModel::kColumnCount] = {0, 12, 9, 3, 10, 8};

// A column's alignment holds for its header as for its cells: the line and polarity columns
// are centred, the numbers right-aligned.
QVariant ColumnAlignment(int column) {
    const bool centred = column == 3 || column == 4;
    return QVariant::fromValue(Qt::AlignVCenter | (centred ? Qt::AlignHCenter : Qt::AlignRight));
}
}  // namespace

CSummaryStepModel::CSummaryStepModel(CZebM40SettingsDoc& doc, QObject* parent)
    : QAbstractTableModel(parent), m_doc(doc), m_lineHeader(LineColumnHeader(doc.Record())) {}

void CSummaryStepModel::Refresh() {
    beginResetModel();
    m_lineHeader = LineColumnHeader(m_doc.Record());
    endResetModel();
    emit headerDataChanged(Qt::Horizontal, 0, kColumnCount - 1);
}

int CSummaryStepModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_doc.Steps().size());
}

int CSummaryStepModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant CSummaryStepModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= kColumnCount) {
        return {};
    }
    const int column = index.column();
    if (role == Qt::TextAlignmentRole) {
        return ColumnAlignment(column);
    }
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole) {
        return {};
    }
    if (column == 0) {
        return QString::asprintf("Step %3d", index.row() + 1);
    }
    // The item texts put an out-of-range code of a step back to its default, as everywhere
    // else the step is shown.
    return m_doc.Steps()[static_cast<size_t>(index.row())].GetItemText(kColumnItem[column]);
}

QVariant CSummaryStepModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= kColumnCount) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    if (role == Qt::TextAlignmentRole) {
        return ColumnAlignment(section);
    }
    if (role != Qt::DisplayRole) {
        return {};
    }
    switch (section) {
        case 0:
            return QStringLiteral("Step");
        case 1:
            return QStringLiteral("Interval [s]");
        case 2:
            return QStringLiteral("Voltage [kV]");
        case 3:
            return m_lineHeader;
        case 4:
            return QStringLiteral("Polarity");
        default:
            return QStringLiteral("Angle [deg]");
    }
}

std::vector<int> CSummaryStepModel::ColumnWidths(int clientWidth, int scrollBarWidth) {
    const int usable = std::max(0, clientWidth - scrollBarWidth);
    std::vector<int> widths;
    for (int fortieths : kWidthFortieths) {
        widths.push_back(usable * fortieths / 40);
    }
    return widths;
}

}  // namespace zeb

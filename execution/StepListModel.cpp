#include "StepListModel.h"

#include "StepColumns.h"

namespace zeb {

namespace {

const StepColumn& RunColumn(int column) {
    return StepColumnsOf(StepList::Run)[static_cast<size_t>(column)];
}

}  // namespace

CStepListModel::CStepListModel(ExecDataList& steps, QObject* parent)
    : QAbstractTableModel(parent), m_steps(steps) {}

int CStepListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_steps.size());
}

int CStepListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QString CStepListModel::CellText(int row, int column) const {
    if (row < 0 || row >= static_cast<int>(m_steps.size()) || column < 0 ||
        column >= kColumnCount) {
        return QString();
    }
    if (column == kColStep) {
        return QStringLiteral("Step %1").arg(row + 1, 3);
    }
    return m_steps[static_cast<size_t>(row)].GetItemText(RunColumn(column).item);
}

QVariant CStepListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) {
        return QVariant();
    }
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole) {
        return CellText(index.row(), index.column());
    }
    if (role == Qt::TextAlignmentRole) {
        return QVariant::fromValue(ColumnAlignment(index.column()));
    }
    return QVariant();
}

Qt::Alignment CStepListModel::ColumnAlignment(int column) {
    return (column >= 0 && column < kColumnCount) ? RunColumn(column).alignment : Qt::Alignment();
}

QVariant CStepListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    if (section < 0 || section >= kColumnCount) {
        return QVariant();
    }
    // All steps share the port; on the telecom port only the return line is named.
    if (section == kColLines && !m_steps.empty() && m_steps.front().m_nOutputPort == kPortTelecom) {
        return QStringLiteral("RET");
    }
    return QString::fromLatin1(RunColumn(section).header);
}

int CStepListModel::WidthEightieths(int column) {
    return (column >= 0 && column < kColumnCount) ? RunColumn(column).share : 0;
}

void CStepListModel::RefreshRow(int row) {
    if (row >= 0 && row < rowCount()) {
        emit dataChanged(index(row, 0), index(row, kColumnCount - 1));
    }
}

void CStepListModel::Refill() {
    beginResetModel();
    endResetModel();
}

}  // namespace zeb

#include "StepListModel.h"

namespace zeb {

namespace {

// Display item of the step text behind each column after the first.
constexpr int kColumnItem[CStepListModel::kColumnCount] = {0, 12, 9, 3, 10, 8, 13, 14};
constexpr int kColumnWidth[CStepListModel::kColumnCount] = {8, 12, 9, 10, 8, 11, 8, 14};

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
    return m_steps[static_cast<size_t>(row)].GetItemText(kColumnItem[column]);
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
    switch (column) {
        case kColLines:
        case kColPolarity:
        case kColResult:
            return Qt::AlignCenter;
        case kColComment:
            return Qt::AlignLeft | Qt::AlignVCenter;
        default:
            return Qt::AlignRight | Qt::AlignVCenter;
    }
}

QVariant CStepListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    switch (section) {
        case kColStep:
            return QStringLiteral("Step");
        case kColInterval:
            return QStringLiteral("Interval [s]");
        case kColVoltage:
            return QStringLiteral("Voltage [kV]");
        case kColLines:
            // All steps share the port; on the telecom port only the return line is named.
            return (!m_steps.empty() && m_steps.front().m_nOutputPort == kPortTelecom)
                       ? QStringLiteral("RET")
                       : QStringLiteral("INJ - RET");
        case kColPolarity:
            return QStringLiteral("Polarity");
        case kColAngle:
            return QStringLiteral("Angle [deg]");
        case kColResult:
            return QStringLiteral("Result");
        case kColComment:
            return QStringLiteral("Comment");
        default:
            return QVariant();
    }
}

int CStepListModel::WidthEightieths(int column) {
    return (column >= 0 && column < kColumnCount) ? kColumnWidth[column] : 0;
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

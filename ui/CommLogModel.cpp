#include "CommLogModel.h"

#include <QBrush>
#include <QColor>
#include <QFont>

#include <algorithm>

#include "ExchangeLog.h"

namespace zeb {

namespace {
// A failed exchange is drawn dark red and its outcome bold, so it stands out in colour and in
// black and white alike.
const QColor kFailedColour(0xA0, 0x10, 0x10);
}  // namespace

CCommLogModel::CCommLogModel(CExchangeLog& log, QObject* parent)
    : QAbstractTableModel(parent), m_log(log), m_nRows(log.Count()), m_nDroppedSeen(log.Dropped()) {
    m_log.SetListener([this](const ExchangeRecord&) { FollowLog(); });
}

CCommLogModel::~CCommLogModel() {
    m_log.SetListener(nullptr);
}

void CCommLogModel::Clear() {
    beginResetModel();
    m_log.Clear();
    m_nRows = 0;
    m_nDroppedSeen = m_log.Dropped();
    m_nGoneAtTop = 0;
    endResetModel();
}

void CCommLogModel::FollowLog() {
    const qint64 dropped = m_log.Dropped() - m_nDroppedSeen;
    const int count = m_log.Count();
    if (dropped < 0 || dropped > m_nRows || m_nRows - dropped > count) {
        // The log changed behind the model's back (cleared or filled without telling): no row
        // can be matched any more, so the views start over.
        beginResetModel();
        m_nRows = count;
        m_nDroppedSeen = m_log.Dropped();
        m_nGoneAtTop = 0;
        endResetModel();
        return;
    }
    if (dropped > 0) {
        const int gone = static_cast<int>(dropped);
        m_nGoneAtTop = gone;
        beginRemoveRows(QModelIndex(), 0, gone - 1);
        m_nRows -= gone;
        m_nDroppedSeen += gone;
        m_nGoneAtTop = 0;
        endRemoveRows();
    }
    if (count > m_nRows) {
        beginInsertRows(QModelIndex(), m_nRows, count - 1);
        m_nRows = count;
        endInsertRows();
    }
}

int CCommLogModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_nRows;
}

int CCommLogModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant CCommLogModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.column() >= kColumnCount) {
        return {};
    }
    const int at = index.row() - m_nGoneAtTop;
    if (index.row() >= m_nRows || at < 0 || at >= m_log.Count()) {
        return {};
    }
    const ExchangeRecord& record = m_log.At(at);
    const bool failed = record.outcome != ExchangeOutcome::Acknowledged;
    switch (role) {
        case Qt::DisplayRole: {
            // The same texts as a saved log: control characters the instrument sent show as
            // \xHH instead of breaking the row.
            const QStringList fields = ExchangeLine(record).split(QLatin1Char('\t'));
            return index.column() < fields.size() ? fields[index.column()] : QString();
        }
        case Qt::ToolTipRole:
            return ExchangeDescription(record);
        case Qt::ForegroundRole:
            return failed ? QVariant(QBrush(kFailedColour)) : QVariant();
        case Qt::FontRole:
            if (failed && index.column() == kOutcome) {
                QFont bold;
                bold.setBold(true);
                return bold;
            }
            return {};
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
        default:
            return {};
    }
}

QVariant CCommLogModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= kColumnCount) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    if (role != Qt::DisplayRole) {
        return {};
    }
    switch (section) {
        case kTime:
            return QStringLiteral("Time");
        case kCommand:
            return QStringLiteral("Command");
        case kReply:
            return QStringLiteral("Reply");
        default:
            return QStringLiteral("Outcome");
    }
}

std::vector<int> CCommLogModel::ColumnWidths(int clientWidth, int scrollBarWidth, int timeWidth,
                                             int outcomeWidth) {
    const int usable = std::max(0, clientWidth - scrollBarWidth);
    // Time and outcome are short texts of known length; when even they do not fit, all four
    // columns share the width in those proportions.
    if (timeWidth + outcomeWidth > usable / 2) {
        const int total = std::max(1, 2 * (timeWidth + outcomeWidth));
        const int time = usable * timeWidth / total;
        const int outcome = usable * outcomeWidth / total;
        const int rest = usable - time - outcome;
        return {time, rest * 2 / 5, rest - rest * 2 / 5, outcome};
    }
    // Replies (identity texts, parameter echoes) are the longest texts: they get three fifths
    // of what is left, commands two.
    const int rest = usable - timeWidth - outcomeWidth;
    return {timeWidth, rest * 2 / 5, rest - rest * 2 / 5, outcomeWidth};
}

}  // namespace zeb

#pragma once
// The communication log as a list: one row per exchange on the instrument link, oldest first,
// with its time, command, reply and outcome. The rows follow the log as it grows and as its
// oldest exchanges fall out at the bound, announcing each change row by row, so that a view of
// ten thousand exchanges keeps its scroll position and selection while the instrument talks.

#include <QAbstractTableModel>

#include <vector>

namespace zeb {

class CExchangeLog;

class CCommLogModel : public QAbstractTableModel {
public:
    enum Column { kTime, kCommand, kReply, kOutcome, kColumnCount };

    // Listens to `log` (which must outlive the model) until the model is destroyed.
    explicit CCommLogModel(CExchangeLog& log, QObject* parent = nullptr);
    ~CCommLogModel() override;
    CCommLogModel(const CCommLogModel&) = delete;
    CCommLogModel& operator=(const CCommLogModel&) = delete;

    // Empties the log and the list.
    void Clear();
    CExchangeLog& Log() { return m_log; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // Column widths for a list whose client area is `clientWidth` wide, less a vertical scroll
    // bar's width so a scroll bar appearing never brings a horizontal one. Time and outcome get
    // the width their texts need, command and reply share the rest.
    static std::vector<int> ColumnWidths(int clientWidth, int scrollBarWidth, int timeWidth,
                                         int outcomeWidth);

private:
    // Brings the rows in line with the log after it took an exchange.
    void FollowLog();

    CExchangeLog& m_log;
    // Rows the views know of, and the log's drop count they reflect.
    int m_nRows = 0;
    qint64 m_nDroppedSeen = 0;
    // While dropped exchanges are being removed from the top: how many rows at the top have
    // already lost their exchange.
    int m_nGoneAtTop = 0;
};

}  // namespace zeb

#pragma once
// The step list of the summary view: one row per expanded step with its interval, voltage,
// line, polarity and phase angle. Results and comments belong to the run dialog, not here.

#include <QAbstractTableModel>

#include <vector>

namespace zeb {

class CZebM40SettingsDoc;

class CSummaryStepModel : public QAbstractTableModel {
public:
    static constexpr int kColumnCount = 6;

    explicit CSummaryStepModel(CZebM40SettingsDoc& doc, QObject* parent = nullptr);

    // Reads the document's steps and the line column's header again.
    void Refresh();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // Column widths for a list whose client area is `clientWidth` wide, less a vertical scroll
    // bar's width so that a scroll bar appearing never brings a horizontal one: the six columns
    // share 38/40 of what is left (5, 7, 6, 10, 5 and 5 fortieths).
    static std::vector<int> ColumnWidths(int clientWidth, int scrollBarWidth);

private:
    CZebM40SettingsDoc& m_doc;
    QString m_lineHeader;
};

}  // namespace zeb

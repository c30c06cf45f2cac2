#pragma once
// The step list of the summary view: the run dialog's step list without its result and comment
// columns (those belong to the run), with headers aligned like their columns, the line header
// taken from the record (so it is right for an empty list too) and the view's own width shares.

#include <vector>

#include "StepListModel.h"

namespace zeb {

class CZebM40SettingsDoc;

class CSummaryStepModel : public CStepListModel {
public:
    // The summary's columns (StepColumnsOf(StepList::Summary)) are the run list's up to the
    // result.
    static constexpr int kColumnCount = kColResult;

    explicit CSummaryStepModel(CZebM40SettingsDoc& doc, QObject* parent = nullptr);

    // Reads the document's steps and the line column's header again.
    void Refresh();

    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
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

#pragma once
// The step list of the run dialog as a table model: step number, interval, voltage, lines,
// polarity, angle, result and comment of every step of the document, with the headers,
// alignments and width fractions the view applies (the run list's columns of StepColumns.h). Cells
// are read from the steps each time, so a refresh after a result or comment changed is all it
// takes.

#include <QAbstractTableModel>

#include "SettingData.h"

namespace zeb {

class CStepListModel : public QAbstractTableModel {
public:
    // Positions of the run list's columns (StepColumnsOf(StepList::Run)).
    enum Column {
        kColStep,
        kColInterval,
        kColVoltage,
        kColLines,
        kColPolarity,
        kColAngle,
        kColResult,
        kColComment,
        kColumnCount
    };

    explicit CStepListModel(ExecDataList& steps, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // Share of the list's width (less a scroll bar) that a column takes: eightieths.
    static int WidthEightieths(int column);
    // How a column's cells are aligned: lines, polarity and result centred, the comment left,
    // the numbers right.
    static Qt::Alignment ColumnAlignment(int column);

    // The cells of one row changed (result, comment).
    void RefreshRow(int row);
    // Rows may have been added or removed, or every row changed.
    void Refill();

    // The text a cell shows; reading it never changes the step.
    QString CellText(int row, int column) const;

private:
    ExecDataList& m_steps;
};

}  // namespace zeb

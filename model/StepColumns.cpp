#include "StepColumns.h"

namespace zeb {

namespace {

struct Row {
    DisplayItem item;
    const char* header;
    Qt::Alignment alignment;
    int runShare;      // eightieths; 0: not in the run list
    int summaryShare;  // fortieths; 0: not in the summary list
};

constexpr Qt::Alignment kRight = Qt::AlignRight | Qt::AlignVCenter;

// Lines, polarity and result centred, the comment left, the numbers right. Every column is in
// the report.
const Row kRows[] = {
    {kItemNone, "Step", kRight, 8, 5},
    {kItemInterval, "Interval [s]", kRight, 12, 7},
    {kItemVoltage, "Voltage [kV]", kRight, 9, 6},
    {kItemLine, "INJ - RET", Qt::AlignCenter, 10, 10},
    {kItemPolarity, "Polarity", Qt::AlignCenter, 8, 5},
    {kItemSync, "Sync.", Qt::AlignCenter, 0, 0},
    {kItemAngle, "Angle [deg]", kRight, 11, 5},
    {kItemResult, "Result", Qt::AlignCenter, 8, 0},
    {kItemComment, "Comment", Qt::AlignLeft | Qt::AlignVCenter, 14, 0},
};

std::vector<StepColumn> Select(StepList list) {
    std::vector<StepColumn> columns;
    for (const Row& row : kRows) {
        const int share = list == StepList::Run       ? row.runShare
                          : list == StepList::Summary ? row.summaryShare
                                                      : 0;
        if (list == StepList::Report || share > 0) {
            columns.push_back({row.item, row.header, row.alignment, share});
        }
    }
    return columns;
}

}  // namespace

const std::vector<StepColumn>& StepColumnsOf(StepList list) {
    static const std::vector<StepColumn> run = Select(StepList::Run);
    static const std::vector<StepColumn> summary = Select(StepList::Summary);
    static const std::vector<StepColumn> report = Select(StepList::Report);
    switch (list) {
        case StepList::Run:
            return run;
        case StepList::Summary:
            return summary;
        default:
            return report;
    }
}

int StepListShares(StepList list) {
    switch (list) {
        case StepList::Run:
            return 80;
        case StepList::Summary:
            return 40;
        default:
            return 0;
    }
}

}  // namespace zeb

#pragma once
// The columns in which test steps are listed. The run dialog's step list, the summary view's
// step list and the step table of the test report show columns of one table, each list a
// subset in the same order, so a column's item, header and alignment are written once.

#include <Qt>

#include <vector>

#include "ExecData.h"

namespace zeb {

enum class StepList {
    Run,      // run dialog: every column but the synchronisation
    Summary,  // summary view: the run list without result and comment
    Report,   // test report: every column
};

struct StepColumn {
    DisplayItem item = kItemNone;  // kItemNone: the step number
    const char* header = "";       // header of the lists; the report heads with the item's caption
    Qt::Alignment alignment;       // of the cells in the lists
    int share = 0;                 // width share in the list (StepListShares of it)
};

// The columns of one list, in order, with that list's width shares.
const std::vector<StepColumn>& StepColumnsOf(StepList list);
// What the shares of a list add up to: eightieths of the run list, fortieths of the summary
// list; the report fits its columns to their texts.
int StepListShares(StepList list);

}  // namespace zeb

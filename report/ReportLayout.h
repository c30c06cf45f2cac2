#pragma once
// The looks of the test report, separate from what it says: captions in bold, the step table
// with a bold header row and a thin grid, PASS and FAIL coloured, columns fitted to their texts,
// and pages printed landscape, one page wide, with the step table's header on every page.

#include "MsExcelControl.h"

namespace zeb {

// Styles the filled report (sheets "Condition", "Content" and " ") with `stepCount` step rows.
// Changes no cell's text or type; leaves the third sheet current, as the filling does.
void LayOutTestReport(CMsExcelControl& xl, int stepCount);

}  // namespace zeb

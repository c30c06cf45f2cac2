// The labels of the output pages' line boxes per line configuration.

#include <gtest/gtest.h>

#include "SetOutputRules.h"
#include "SettingData.h"

namespace zeb {
namespace {

TEST(SetOutputRules, SinglePhaseRelabelsFourAcBoxes) {
    EXPECT_EQ(AcLineLabel(0, 0), "L  - N ");
    EXPECT_EQ(AcLineLabel(3, 1), "N  - L ");
    EXPECT_EQ(AcLineLabel(12, 1), "L  - PE");
    EXPECT_EQ(AcLineLabel(13, 0), "N  - PE");
    EXPECT_EQ(AcLineLabel(0, 3), "L1 - L2");
    EXPECT_EQ(AcLineLabel(3, 2), "L2 - L1");
    EXPECT_EQ(AcLineLabel(12, 5), "L1 - PE");
    EXPECT_EQ(AcLineLabel(2, 0), "L1 - N");  // unmarked boxes keep their label
    EXPECT_EQ(AcLineLabel(19, 0), "L1+L2+L3+N - PE");
    EXPECT_EQ(AcLineLabel(20, 0), "");
    EXPECT_EQ(DcLineLabel(1), "- - +");
    EXPECT_EQ(TelecomLineLabel(4), "RET PE");
}

}  // namespace
}  // namespace zeb

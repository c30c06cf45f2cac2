// The step list's cells and headers: the texts an operator reads and the report repeats.

#include <gtest/gtest.h>

#include "SequencerFixture.h"
#include "StepListModel.h"

namespace zeb::test {
namespace {

using Col = CStepListModel;

TEST(StepListModelTest, CellTextsOfEveryColumn) {
    ExecDataList steps = {AcStep(500), AcStep(0), AcStep(15000)};
    steps[1].m_nSync = 1;
    steps[1].m_lAngle = 90;
    steps[2].m_nPola = 7;  // out of range: shown as negative
    steps[2].m_nResult = 9;
    steps[2].m_strComment = QStringLiteral("arc seen");
    CStepListModel model(steps);
    ASSERT_EQ(model.rowCount(), 3);
    ASSERT_EQ(model.columnCount(), 8);
    EXPECT_EQ(model.CellText(0, Col::kColStep), "Step   1");
    EXPECT_EQ(model.CellText(2, Col::kColStep), "Step   3");
    EXPECT_EQ(model.CellText(0, Col::kColVoltage), "0.5");
    EXPECT_EQ(model.CellText(1, Col::kColVoltage), "0");
    EXPECT_EQ(model.CellText(2, Col::kColVoltage), "15.0");
    EXPECT_EQ(model.CellText(0, Col::kColInterval), "10");
    EXPECT_EQ(model.CellText(0, Col::kColAngle), "");  // AC without synchronisation
    EXPECT_EQ(model.CellText(1, Col::kColAngle), "90");
    EXPECT_EQ(model.CellText(0, Col::kColPolarity), "+");
    EXPECT_EQ(model.CellText(2, Col::kColPolarity), "-");
    EXPECT_EQ(steps[2].m_nPola, 7);  // reading a cell never changes the step
    EXPECT_EQ(model.CellText(2, Col::kColResult), "------");
    EXPECT_EQ(model.CellText(2, Col::kColComment), "arc seen");
    EXPECT_EQ(model.CellText(3, Col::kColStep), "");  // no such row: nothing read
    EXPECT_EQ(model.data(model.index(0, Col::kColLines), Qt::TextAlignmentRole).toInt(),
              static_cast<int>(Qt::AlignCenter));

    int total = 0;
    for (int c = 0; c < Col::kColumnCount; ++c) {
        total += CStepListModel::WidthEightieths(c);
    }
    EXPECT_EQ(total, 80);
}

TEST(StepListModelTest, LinesHeaderNamesOnlyTheReturnOnTheTelecomPort) {
    ExecDataList steps = {AcStep()};
    CStepListModel model(steps);
    EXPECT_EQ(model.headerData(Col::kColLines, Qt::Horizontal).toString(), "INJ - RET");
    steps[0].m_nOutputPort = kPortTelecom;
    EXPECT_EQ(model.headerData(Col::kColLines, Qt::Horizontal).toString(), "RET");
    steps[0].m_nOutputPort = kPortDc;
    steps[0].m_nSync = 1;
    EXPECT_EQ(model.CellText(0, Col::kColAngle), "");  // never on a DC step
    steps.clear();
    EXPECT_EQ(model.headerData(Col::kColLines, Qt::Horizontal).toString(), "INJ - RET");
}

}  // namespace
}  // namespace zeb::test

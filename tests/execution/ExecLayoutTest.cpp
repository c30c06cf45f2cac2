// The run dialog's step list: the columns share the list's width by their fractions, never run
// under the vertical scroll bar, and leave no gap beside it once the dialog is on screen.

#include <gtest/gtest.h>

#include <QHeaderView>
#include <QScrollBar>
#include <QTableView>
#include <QTest>

#include "ElidingHeader.h"
#include "ExecDlg.h"
#include "ExecWidgets.h"
#include "SequencerFixture.h"
#include "StepListModel.h"
#include "TempConfigHome.h"
#include "TestProperty.h"

namespace zeb::test {
namespace {

class ExecLayoutTest : public SequencerFixture {
protected:
    // Shows the dialog on `steps` steps and returns the total width of the list's columns.
    int ColumnsWidth(int steps) {
        doc.Steps().assign(static_cast<size_t>(steps), AcStep());
        dlg = std::make_unique<CExecDlg>(doc, cntl, property, RunSessionSettings::Load());
        dlg->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(dlg.get()));
        int total = 0;
        for (int c = 0; c < CStepListModel::kColumnCount; ++c) {
            total += List()->columnWidth(c);
        }
        return total;
    }
    QTableView* List() const { return dlg->Widgets().list; }

    TempConfigHome config;
    CTestProperty property;
    std::unique_ptr<CExecDlg> dlg;
};

TEST_F(ExecLayoutTest, ColumnsFillTheListBesideItsScrollBar) {
    const int total = ColumnsWidth(200);
    ASSERT_TRUE(List()->verticalScrollBar()->isVisible());
    const int viewport = List()->viewport()->width();
    EXPECT_LE(total, viewport);
    EXPECT_GE(total, viewport - CStepListModel::kColumnCount);  // rounding of each fraction
}

TEST_F(ExecLayoutTest, ShortListKeepsRoomForAScrollBar) {
    const int total = ColumnsWidth(2);
    ASSERT_FALSE(List()->verticalScrollBar()->isVisible());
    const int room =
        List()->viewport()->width() - List()->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    EXPECT_LE(total, room);
    EXPECT_GE(total, room - CStepListModel::kColumnCount);
}

TEST_F(ExecLayoutTest, NarrowHeadersAreShortenedAtTheirEndNotCutAtTheirStart) {
    ColumnsWidth(2);
    auto* header = dynamic_cast<CElidingHeader*>(List()->horizontalHeader());
    ASSERT_NE(header, nullptr);
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    const CElidingHeader::Shown wide = header->ShownCaption("Angle [deg]", right, 400);
    EXPECT_EQ(wide.text, "Angle [deg]");
    EXPECT_EQ(wide.alignment, right);
    const CElidingHeader::Shown narrow = header->ShownCaption("Angle [deg]", right, 50);
    EXPECT_TRUE(narrow.text.startsWith("An")) << narrow.text.toStdString();
    EXPECT_TRUE(narrow.text.endsWith(QChar(0x2026))) << narrow.text.toStdString();
    EXPECT_EQ(narrow.alignment, Qt::AlignLeft | Qt::AlignVCenter);
}

}  // namespace
}  // namespace zeb::test

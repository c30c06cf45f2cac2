// The editor's layout: whichever output port the operator picks, the editor keeps its size and
// the page of that port gets at least the room it needs, so no control is squeezed or clipped.

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QTest>

#include "SetOutputPage.h"
#include "SettingDlg.h"

namespace zeb {
namespace {

class EditorLayout : public ::testing::TestWithParam<uint32_t> {};

TEST_P(EditorLayout, EveryPortFitsWithoutResizingTheEditor) {
    CSettingData record;
    record.m_ulMachineType = GetParam();
    record.SetDefault();
    // Opened on a small page first: picking the large AC page must not grow the editor.
    record.m_outOutput.m_nOutputPort = kPortTelecom;
    CSettingDlg dlg(record, nullptr, 1);
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    const QSize opened = dlg.size();
    QComboBox* ports = dlg.PortCombo();
    ASSERT_GT(ports->count(), 0);
    for (int i = 0; i < ports->count(); ++i) {
        ports->setCurrentIndex(i);
        emit ports->activated(i);
        QApplication::processEvents();
        CSetOutputPage* page = dlg.Page(dlg.VisiblePage());
        ASSERT_NE(page, nullptr) << ports->itemText(i).toStdString();
        const QSize need = page->minimumSizeHint();
        EXPECT_GE(page->width(), need.width()) << ports->itemText(i).toStdString();
        EXPECT_GE(page->height(), need.height()) << ports->itemText(i).toStdString();
        EXPECT_EQ(dlg.size(), opened) << ports->itemText(i).toStdString();
    }
}

// A three-phase model with telecom output, a single-phase one, an edition-3 one and the
// telecom coupling unit.
INSTANTIATE_TEST_SUITE_P(Machines, EditorLayout, ::testing::Values(5u, 1u, 13u, 0x400Bu));

}  // namespace
}  // namespace zeb

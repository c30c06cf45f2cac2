// The editor's windows headless: typing and spinning in real fields, the pages' wiring to the
// working record, the queued notification from a page to the editor, and OK and Cancel.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include "ScriptedMessageSink.h"
#include "SetOutputAcDlg.h"
#include "SetOutputPage.h"
#include "SettingDlg.h"
#include "ValueDlg.h"
#include "ValueEdit.h"
#include "ValuePages.h"

namespace zeb {
namespace {

CSettingData Record(uint32_t machineType, int32_t port = kPortAc) {
    CSettingData r;
    r.m_ulMachineType = machineType;
    r.SetDefault();
    r.m_outOutput.m_nOutputPort = port;
    return r;
}

// Types into a field and finishes it with Enter, as the operator does.
void Type(CValueEdit* field, const QString& text) {
    field->Edit()->selectAll();
    QTest::keyClick(field->Edit(), Qt::Key_Delete);
    QTest::keyClicks(field->Edit(), text);
    QTest::keyClick(field->Edit(), Qt::Key_Return);
}

// Picks the item with this code as a click in the list does.
void Choose(QComboBox* combo, int code) {
    const int index = combo->findData(code);
    ASSERT_GE(index, 0) << "no item with code " << code;
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

QStringList Items(const QComboBox* combo) {
    QStringList items;
    for (int i = 0; i < combo->count(); ++i) {
        items << combo->itemText(i);
    }
    return items;
}

// Operates a check box, radio or tab as a screen reader or voice control does: through the
// accessible toggle action, which checks or unchecks it without a click.
void AccessibleToggle(QWidget* control) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(control);
    ASSERT_TRUE(iface && iface->actionInterface());
    ASSERT_TRUE(iface->actionInterface()->actionNames().contains(
        QAccessibleActionInterface::toggleAction()));
    iface->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
}

// Lets queued notifications from the pages arrive.
void Settle() {
    QCoreApplication::processEvents();
}

TEST(ValuePanel, TypingAndSpinningStoreWhatIsShown) {
    VALUE set = CSettingData().m_valVolt;
    CValueDlg panel(set, CSettingData().m_vlVolt);
    CValueEdit* fixed = panel.FixPage()->Field();

    Type(fixed, "16");
    EXPECT_EQ(set.m_lValue, 15000);
    EXPECT_EQ(fixed->Text(), "15.0");
    Type(fixed, "0.55");
    EXPECT_EQ(set.m_lValue, 600);
    EXPECT_EQ(fixed->Text(), "0.6");
    Type(fixed, "0.04");
    EXPECT_EQ(set.m_lValue, 0);

    QTest::mouseClick(fixed->UpButton(), Qt::LeftButton);
    EXPECT_EQ(set.m_lValue, 100);
    EXPECT_EQ(fixed->Text(), "0.1");
    QTest::mouseClick(fixed->DownButton(), Qt::LeftButton);
    QTest::mouseClick(fixed->DownButton(), Qt::LeftButton);
    EXPECT_EQ(set.m_lValue, 0);

    // The filter works keystroke by keystroke: the newest point wins.
    fixed->Edit()->clear();
    QTest::keyClicks(fixed->Edit(), "1.2.3");
    EXPECT_EQ(fixed->Text(), "12.3");
}

TEST(ValuePanel, SweepEndCannotPassStart) {
    VALUE set = CSettingData().m_valVolt;
    set.m_nValueType = kValueSweep;
    set.m_lStart = 2000;
    set.m_lEnd = 4000;
    set.m_lStep = 500;
    CValueDlg panel(set, CSettingData().m_vlVolt);
    ASSERT_EQ(panel.VisiblePage(), ValuePage::Sweep);

    Type(panel.SweepPage()->Field(SweepField::End), "1");
    EXPECT_EQ(set.m_lEnd, 2000);
    EXPECT_EQ(panel.SweepPage()->Field(SweepField::End)->Text(), "2.0");
    Type(panel.SweepPage()->Field(SweepField::Step), "0");
    EXPECT_EQ(set.m_lStep, 100);
}

TEST(ValuePanel, TabsPickThePageByTypeAndListKind) {
    VALUE set = CSettingData().m_valVolt;
    set.m_nValueType = 7;
    CValueDlg panel(set, CSettingData().m_vlVolt);
    EXPECT_EQ(panel.VisiblePage(), ValuePage::None);
    EXPECT_EQ(panel.SelectedTab(), -1);
    panel.ShowPage();  // an owner's refresh does not invent a type
    EXPECT_EQ(set.m_nValueType, 7);

    set.m_nVariableKind = 1;
    QTest::mouseClick(panel.TabButton(kValueVariable), Qt::LeftButton);
    EXPECT_EQ(set.m_nValueType, kValueVariable);
    EXPECT_EQ(panel.VisiblePage(), ValuePage::NormalCommon);

    // The owner switches the kind (another line configuration): the list page follows.
    set.m_nVariableKind = 0;
    panel.ShowPage();
    EXPECT_EQ(panel.VisiblePage(), ValuePage::List);
    QTest::mouseClick(panel.ListPage()->UseBox(2), Qt::LeftButton);
    EXPECT_EQ(set.m_abUse[2], 1);

    set.m_nVariableKind = 1;
    set.m_abUse2[3] = 1;  // rows are re-read when the page is shown
    panel.ShowPage();
    EXPECT_TRUE(panel.NormalCommonPage()->CommonBox(3)->isChecked());
    QTest::mouseClick(panel.NormalCommonPage()->CommonBox(3), Qt::LeftButton);
    EXPECT_EQ(set.m_abUse2[3], 0);

    QTest::mouseClick(panel.TabButton(kValueFixed), Qt::LeftButton);
    EXPECT_EQ(set.m_nValueType, kValueFixed);
    EXPECT_EQ(panel.VisiblePage(), ValuePage::Fixed);
}

TEST(ValuePanel, ScreenReaderTogglesReachTheSet) {
    VALUE set = CSettingData().m_valVolt;
    set.m_nVariableKind = 1;
    CValueDlg panel(set, CSettingData().m_vlVolt);
    AccessibleToggle(panel.TabButton(kValueVariable));
    EXPECT_EQ(set.m_nValueType, kValueVariable);
    EXPECT_EQ(panel.VisiblePage(), ValuePage::NormalCommon);

    CValueVariableVoltDlg* rows = panel.NormalCommonPage();
    AccessibleToggle(rows->UseBox(1));
    AccessibleToggle(rows->CommonBox(4));
    EXPECT_EQ(set.m_abUse[1], 1);
    EXPECT_EQ(set.m_abUse2[4], 1);
    AccessibleToggle(rows->UseBox(1));
    EXPECT_EQ(set.m_abUse[1], 0);

    // Showing the set again writes nothing back, even into a row it changes.
    set.m_abUse2[4] = 0;
    set.m_abUse[0] = 1;
    panel.ShowPage();
    EXPECT_FALSE(rows->CommonBox(4)->isChecked());
    EXPECT_EQ(set.m_abUse2[4], 0);
    EXPECT_EQ(set.m_abUse[0], 1);

    AccessibleToggle(panel.TabButton(kValueSweep));
    EXPECT_EQ(set.m_nValueType, kValueSweep);
    EXPECT_EQ(panel.VisiblePage(), ValuePage::Sweep);
}

TEST(SettingDlg, CountFieldFiltersAPasteAndTruncates) {
    CSettingDlg dlg(Record(5));
    QLineEdit* edit = dlg.CountField()->Edit();
    edit->clear();
    QApplication::clipboard()->setText("12a.3.4");
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit->text(), "12.34");
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(dlg.Record().m_lDisc, 12);
    EXPECT_EQ(edit->text(), "12");

    QTest::mouseClick(dlg.IntervalField()->UpButton(), Qt::LeftButton);
    EXPECT_EQ(dlg.Record().m_lRept, 61);
    Type(dlg.IntervalField(), "3");
    EXPECT_EQ(dlg.Record().m_lRept, 10);  // the 1.2/50 minimum
}

TEST(SettingDlg, LeavingAFieldSettlesItWithoutTyping) {
    // 7 kV typed on the AC port; the edition-3 telecom port then narrows the limit to 6 kV.
    // The fixed page keeps showing 7.0 until the operator passes through the field.
    CSettingDlg dlg(Record(9));
    dlg.show();
    QApplication::setActiveWindow(&dlg);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
    CValueEdit* fixed = dlg.VoltagePanel()->FixPage()->Field();
    Type(fixed, "7");
    Choose(dlg.PortCombo(), kPortTelecom);
    Settle();
    EXPECT_EQ(fixed->Text(), "7.0");
    fixed->Edit()->setFocus();
    dlg.CountField()->Edit()->setFocus();
    EXPECT_EQ(dlg.Record().m_valVolt.m_lValue, 6000);
    EXPECT_EQ(fixed->Text(), "6.0");

    // The same with the keyboard alone: typed and left with Tab, then passed through again.
    Choose(dlg.PortCombo(), kPortAc);
    Settle();
    fixed->Edit()->setFocus();
    fixed->Edit()->selectAll();
    QTest::keyClicks(fixed->Edit(), "7");
    QTest::keyClick(fixed->Edit(), Qt::Key_Tab);
    ASSERT_FALSE(fixed->Edit()->hasFocus());
    EXPECT_EQ(dlg.Record().m_valVolt.m_lValue, 7000);
    Choose(dlg.PortCombo(), kPortTelecom);
    Settle();
    fixed->Edit()->setFocus();
    QTest::keyClick(fixed->Edit(), Qt::Key_Tab);
    EXPECT_EQ(dlg.Record().m_valVolt.m_lValue, 6000);
    EXPECT_EQ(fixed->Text(), "6.0");

    // A count outside its range (only a file holds one) is lifted when the field is left.
    CSettingData r = Record(5);
    r.m_lDisc = 0;
    CSettingDlg other(r);
    other.show();
    QApplication::setActiveWindow(&other);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    other.CountField()->Edit()->setFocus();
    other.IntervalField()->Edit()->setFocus();
    EXPECT_EQ(other.Record().m_lDisc, 1);
    EXPECT_EQ(other.CountField()->Text(), "1");
}

TEST(SettingDlg, PortsPagesAndTheVoltageLimit) {
    // Without a machine type no port is offered; only the interval still meets its minimum.
    CSettingData noMachine = Record(kNoMachineType);
    noMachine.m_lRept = 5;
    CSettingDlg none(noMachine);
    EXPECT_EQ(none.PortCombo()->count(), 0);
    EXPECT_EQ(none.VisiblePage(), OutputPage::None);
    EXPECT_EQ(none.Record().m_lRept, 10);
    EXPECT_EQ(none.IntervalField()->Text(), "10");

    CSettingDlg ed3(Record(9, kPortTelecom));
    EXPECT_EQ(ed3.PortCombo()->currentData().toInt(), kPortTelecom);
    EXPECT_EQ(ed3.VisiblePage(), OutputPage::TelecomEd3);
    EXPECT_EQ(ed3.VoltagePanel()->Limits().m_lMax, 6000);
    Type(ed3.VoltagePanel()->FixPage()->Field(), "7");
    EXPECT_EQ(ed3.Record().m_valVolt.m_lValue, 6000);

    Choose(ed3.PortCombo(), kPortAc);
    EXPECT_EQ(ed3.VisiblePage(), OutputPage::Ac);
    EXPECT_EQ(ed3.Record().m_outOutput.m_nOutputPort, kPortAc);
    EXPECT_EQ(ed3.VoltagePanel()->Limits().m_lMax, 15000);

    // A port the machine does not offer falls back to the first one.
    CSettingDlg surge(Record(0x400B, kPortSurge));
    EXPECT_EQ(surge.Record().m_outOutput.m_nOutputPort, kPortAc);
    Choose(surge.PortCombo(), kPortTelecom);
    EXPECT_EQ(surge.VisiblePage(), OutputPage::TelecomUnit);
    EXPECT_EQ(Items(surge.Page(OutputPage::TelecomUnit)->WaveformCombo()), QStringList{"10/700"});
}

TEST(SettingDlg, AcDetailSwitchRelabelsAndShowsItsOwnLines) {
    CSettingData r = Record(5);
    r.m_outOutput.m_aopOutputPort[0].m_aulInjRetBit[0] = 0x9;  // L-N and N-L
    r.m_outOutput.m_aopOutputPort[0].m_aulInjRetBit[3] = 0x2;  // L1-L3
    CSettingDlg dlg(r);
    Settle();
    CSetOutputPage* ac = dlg.Page(OutputPage::Ac);
    EXPECT_EQ(ac->LineBox(0)->text(), "L  - N ");
    EXPECT_TRUE(ac->LineBox(3)->isChecked());

    Choose(ac->DetailCombo(), 3);
    Settle();
    EXPECT_EQ(ac->LineBox(0)->text(), "L1 - L2");
    EXPECT_EQ(ac->LineBox(3)->text(), "L2 - L1");
    EXPECT_FALSE(ac->LineBox(0)->isChecked());
    EXPECT_TRUE(ac->LineBox(1)->isChecked());
    EXPECT_TRUE(ac->LineBox(1)->isEnabled());
    EXPECT_FALSE(ac->LineBox(2)->isEnabled());

    QTest::mouseClick(ac->LineBox(4), Qt::LeftButton);
    const OUTPUT_PORT& slot = dlg.Record().m_outOutput.m_aopOutputPort[0];
    EXPECT_EQ(slot.m_aulInjRetBit[3], 0x12u);
    EXPECT_EQ(slot.m_aulInjRetBit[0], 0x9u);  // the old configuration keeps its lines
    EXPECT_EQ(slot.m_nOutputDetail, 3);

    // Line-to-line and line-to-earth lines together ask for the NORMAL/COMMON list.
    Choose(ac->DetailCombo(), 5);
    Settle();
    EXPECT_EQ(dlg.Record().m_valVolt.m_nVariableKind, 1);
    QTest::mouseClick(dlg.VoltagePanel()->TabButton(kValueVariable), Qt::LeftButton);
    EXPECT_EQ(dlg.VoltagePanel()->VisiblePage(), ValuePage::NormalCommon);
    // The page's notification arrives queued, after the page has finished its change.
    Choose(ac->DetailCombo(), 4);
    EXPECT_EQ(dlg.VoltagePanel()->VisiblePage(), ValuePage::NormalCommon);
    Settle();
    EXPECT_EQ(dlg.VoltagePanel()->VisiblePage(), ValuePage::List);
}

TEST(SettingDlg, AcDetailListFollowsTheHardwareVersion) {
    CSettingDlg older(Record(5), nullptr, 0);
    EXPECT_EQ(older.Page(OutputPage::Ac)->DetailCombo()->count(), 6);
    EXPECT_FALSE(
        Items(older.Page(OutputPage::Ac)->DetailCombo()).contains("THREE  PHASE L1, L2, L3, PE"));
    EXPECT_EQ(older.Record().m_nHWVersion, 0);

    CSettingDlg newer(Record(5), nullptr, 1);
    const QStringList items = Items(newer.Page(OutputPage::Ac)->DetailCombo());
    EXPECT_EQ(items.size(), 7);
    EXPECT_EQ(items.at(5), "THREE  PHASE L1, L2, L3, PE");
    EXPECT_EQ(newer.Record().m_nHWVersion, 1);
}

TEST(SettingDlg, DcRingImpedanceShowsOnlyForRing) {
    CSettingData r = Record(2, kPortDc);
    r.m_outOutput.m_aopOutputPort[1].m_nRingRegi = 1;
    CSettingDlg dlg(r);
    CSetOutputPage* dc = dlg.Page(OutputPage::Dc);
    ASSERT_EQ(dlg.VisiblePage(), OutputPage::Dc);
    EXPECT_TRUE(dc->RingCombo()->isHidden());

    Choose(dc->WaveformCombo(), 2);
    EXPECT_FALSE(dc->RingCombo()->isHidden());
    EXPECT_EQ(dc->RingCombo()->currentText(), "12ohm");
    Choose(dc->WaveformCombo(), 0);
    EXPECT_TRUE(dc->RingCombo()->isHidden());
    EXPECT_EQ(dlg.Record().m_outOutput.m_aopOutputPort[1].m_nRingRegi, 1);

    // "+, -" disables the PE boxes but keeps their bits for "+, -, PE".
    Choose(dc->DetailCombo(), 1);
    QTest::mouseClick(dc->LineBox(2), Qt::LeftButton);
    Choose(dc->DetailCombo(), 0);
    EXPECT_FALSE(dc->LineBox(2)->isEnabled());
    EXPECT_EQ(dlg.Record().m_outOutput.m_aopOutputPort[1].m_aulInjRetBit[1] & 0x4u, 0x4u);
}

TEST(SettingDlg, WaveformMovesTheIntervalMinimumAndTheField) {
    // Through a coupling unit the ring wave allows 5 s; the interval itself stays.
    CSettingData r = Record(0x400B);
    r.m_lRept = 10;
    CSettingDlg dlg(r);
    Settle();
    CSetOutputPage* ac = dlg.Page(OutputPage::Ac);
    Choose(ac->WaveformCombo(), 2);
    Settle();
    EXPECT_EQ(dlg.Record().m_vlRept.m_lMin, 5);
    EXPECT_EQ(dlg.Record().m_lRept, 10);
    Type(dlg.IntervalField(), "3");
    EXPECT_EQ(dlg.Record().m_lRept, 5);
    EXPECT_EQ(dlg.IntervalField()->Text(), "5");

    // A telecom port with 10/700 needs 15 s; the field follows the record.
    CSettingData t = Record(1, kPortAc);
    t.m_lRept = 10;
    CSettingDlg tel(t);
    Choose(tel.PortCombo(), kPortTelecom);
    Settle();
    EXPECT_EQ(tel.Record().m_lRept, 15);
    EXPECT_EQ(tel.IntervalField()->Text(), "15");
    Choose(tel.Page(OutputPage::Telecom)->WaveformCombo(), 0);
    Settle();
    EXPECT_EQ(tel.Record().m_vlRept.m_lMin, 10);
    EXPECT_EQ(tel.Record().m_lRept, 15);
}

TEST(SettingDlg, SyncRadiosEnableTheAnglePanel) {
    CSettingDlg dlg(Record(5));
    auto* ac = static_cast<CSetOutputAcDlg*>(dlg.Page(OutputPage::Ac));
    CValueDlg* angle = ac->AnglePanel();
    EXPECT_FALSE(angle->SweepPage()->Field(SweepField::Start)->isEnabled());
    QTest::mouseClick(ac->SyncRadio(), Qt::LeftButton);
    EXPECT_EQ(dlg.Record().m_outOutput.m_aopOutputPort[0].m_nSync, 1);
    EXPECT_TRUE(angle->SweepPage()->Field(SweepField::Start)->isEnabled());
    Type(angle->SweepPage()->Field(SweepField::End), "400");
    EXPECT_EQ(dlg.Record().m_outOutput.m_aopOutputPort[0].m_valAngle.m_lEnd, 360);
}

TEST(SettingDlg, ScreenReaderTogglesReachTheRecord) {
    // The telecom page starts with RET PE only. A screen reader unchecks it and checks RET 1:
    // OK must see RET 1 and nothing else.
    CSettingDlg dlg(Record(1, kPortTelecom));
    dlg.show();
    Settle();
    ASSERT_EQ(dlg.VisiblePage(), OutputPage::Telecom);
    CSetOutputPage* tel = dlg.Page(OutputPage::Telecom);
    const OUTPUT_PORT& telSlot = dlg.Record().m_outOutput.m_aopOutputPort[kPortTelecom];
    const uint32_t& lines = telSlot.m_aulInjRetBit[telSlot.m_nOutputDetail];
    ASSERT_TRUE(tel->LineBox(4)->isChecked());
    AccessibleToggle(tel->LineBox(4));
    EXPECT_EQ(lines, 0u);
    {
        test::ScriptedMessageSink sink;
        sink.Expect("Please select a RETURN LINE. ");
        QTest::mouseClick(dlg.OkButton(), Qt::LeftButton);
    }
    AccessibleToggle(tel->LineBox(0));
    EXPECT_EQ(lines, 0x1u);

    AccessibleToggle(dlg.PolarityRadio(1));
    EXPECT_EQ(dlg.Record().m_ulPola, 2u);

    QTest::mouseClick(dlg.OkButton(), Qt::LeftButton);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);

    // SYNC and ASYNC on the AC page, and the angle panel they switch.
    CSettingDlg ac(Record(5));
    auto* page = static_cast<CSetOutputAcDlg*>(ac.Page(OutputPage::Ac));
    const OUTPUT_PORT& slot = ac.Record().m_outOutput.m_aopOutputPort[kPortAc];
    AccessibleToggle(page->SyncRadio());
    EXPECT_EQ(slot.m_nSync, 1);
    EXPECT_TRUE(page->AnglePanel()->SweepPage()->Field(SweepField::Start)->isEnabled());
    AccessibleToggle(page->AsyncRadio());
    EXPECT_EQ(slot.m_nSync, 0);
    EXPECT_FALSE(page->AnglePanel()->SweepPage()->Field(SweepField::Start)->isEnabled());
}

TEST(SettingDlg, OkChecksAndCancelDiscards) {
    CSettingData original = Record(5);
    {
        CSettingDlg dlg(original);
        dlg.show();
        QTest::mouseClick(dlg.PolarityRadio(2), Qt::LeftButton);
        EXPECT_EQ(dlg.Record().m_ulPola, 3u);
        dlg.reject();
        EXPECT_EQ(original.m_ulPola, 1u);  // the caller's record is untouched
    }
    {
        test::ScriptedMessageSink sink;
        CSettingDlg dlg(original);
        dlg.show();
        CSetOutputPage* ac = dlg.Page(OutputPage::Ac);
        QTest::mouseClick(ac->LineBox(0), Qt::LeftButton);  // no line left
        sink.Expect("Please select an INJECTION and RETURN LINE. ");
        QTest::mouseClick(dlg.OkButton(), Qt::LeftButton);
        EXPECT_TRUE(dlg.isVisible());
        EXPECT_NE(dlg.result(), QDialog::Accepted);

        // Enter in a value field moves on; it does not press OK. In the voltage panel neither
        // Enter nor Esc closes the editor, on a field or on a tab.
        QTest::keyClick(dlg.CountField()->Edit(), Qt::Key_Return);
        EXPECT_TRUE(dlg.isVisible());
        QTest::keyClick(dlg.VoltagePanel()->FixPage()->Field()->Edit(), Qt::Key_Escape);
        QTest::keyClick(dlg.VoltagePanel()->TabButton(kValueSweep), Qt::Key_Return);
        QTest::keyClick(dlg.VoltagePanel()->TabButton(kValueSweep), Qt::Key_Escape);
        EXPECT_TRUE(dlg.isVisible());
        EXPECT_EQ(dlg.result(), 0);

        QTest::mouseClick(ac->LineBox(3), Qt::LeftButton);
        QTest::mouseClick(dlg.OkButton(), Qt::LeftButton);
        EXPECT_EQ(dlg.result(), QDialog::Accepted);
        EXPECT_EQ(dlg.Record().m_outOutput.m_aopOutputPort[0].m_aulInjRetBit[0], 0x8u);
    }
}

}  // namespace
}  // namespace zeb

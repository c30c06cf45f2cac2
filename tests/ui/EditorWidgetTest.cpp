// The editor's windows headless: every control forwards its intent, however it changed (mouse,
// keys, accessible action), and shows the projection again. The rules themselves are tested on
// the state (tests/model/EditorStateTest.cpp).

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

void ShowActive(QDialog& dlg) {
    dlg.show();
    QApplication::setActiveWindow(&dlg);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
}

TEST(ValuePanel, TypingAndSpinningStoreWhatIsShown) {
    CSettingDlg dlg(Record(5));
    CValueEdit* fixed = dlg.VoltagePanel()->FixPage()->Field();
    EXPECT_EQ(fixed->Text(), "0.5");

    Type(fixed, "16");
    EXPECT_EQ(dlg.Record().m_valVolt.m_lValue, 15000);
    EXPECT_EQ(fixed->Text(), "15.0");
    Type(fixed, "15.0");  // the same projection again still answers the field
    Type(fixed, "99");
    EXPECT_EQ(fixed->Text(), "15.0");

    QTest::mouseClick(fixed->DownButton(), Qt::LeftButton);
    EXPECT_EQ(dlg.Record().m_valVolt.m_lValue, 14900);
    EXPECT_EQ(fixed->Text(), "14.9");
    QTest::keyClick(fixed->Edit(), Qt::Key_Up);
    EXPECT_EQ(dlg.Record().m_valVolt.m_lValue, 15000);

    // The filter works keystroke by keystroke: the newest point wins.
    fixed->Edit()->clear();
    QTest::keyClicks(fixed->Edit(), "1.2.3");
    EXPECT_EQ(fixed->Text(), "12.3");
}

TEST(ValuePanel, TabsAndRowsForwardAndShowTheListKind) {
    CSettingData r = Record(5);
    r.m_valVolt.m_nValueType = 7;
    r.m_outOutput.m_aopOutputPort[kPortAc].m_nOutputDetail = kAcSinglePhaseLNPE;
    CSettingDlg dlg(r);
    CValueDlg* panel = dlg.VoltagePanel();
    EXPECT_EQ(panel->VisiblePage(), ValuePage::None);
    EXPECT_EQ(panel->SelectedTab(), -1);

    QTest::mouseClick(panel->TabButton(kValueVariable), Qt::LeftButton);
    EXPECT_EQ(dlg.Record().m_valVolt.m_nValueType, kValueVariable);
    EXPECT_EQ(panel->VisiblePage(), ValuePage::NormalCommon);
    QTest::mouseClick(panel->NormalCommonPage()->CommonBox(3), Qt::LeftButton);
    EXPECT_EQ(dlg.Record().m_valVolt.m_abUse2[3], 1);
    Type(panel->NormalCommonPage()->Field(3), "2");
    EXPECT_EQ(dlg.Record().m_valVolt.m_alValue[3], 2000);

    // Another line configuration switches the kind: the list page follows at once.
    Choose(dlg.Page(OutputPage::Ac)->DetailCombo(), kAcSinglePhaseLN);
    EXPECT_EQ(panel->VisiblePage(), ValuePage::List);
    QTest::mouseClick(panel->ListPage()->UseBox(2), Qt::LeftButton);
    EXPECT_EQ(dlg.Record().m_valVolt.m_abUse[2], 1);
    EXPECT_TRUE(panel->ListPage()->UseBox(2)->isChecked());

    QTest::mouseClick(panel->TabButton(kValueFixed), Qt::LeftButton);
    EXPECT_EQ(panel->VisiblePage(), ValuePage::Fixed);
    EXPECT_EQ(panel->SelectedTab(), kValueFixed);
}

TEST(ValuePanel, ScreenReaderTogglesReachTheSet) {
    CSettingData r = Record(5);
    r.m_outOutput.m_aopOutputPort[kPortAc].m_nOutputDetail = kAcSinglePhaseLNPE;
    CSettingDlg dlg(r);
    CValueDlg* panel = dlg.VoltagePanel();
    const VALUE& set = dlg.Record().m_valVolt;
    AccessibleToggle(panel->TabButton(kValueVariable));
    EXPECT_EQ(set.m_nValueType, kValueVariable);
    EXPECT_EQ(panel->VisiblePage(), ValuePage::NormalCommon);

    CValueVariableVoltDlg* rows = panel->NormalCommonPage();
    AccessibleToggle(rows->UseBox(1));
    AccessibleToggle(rows->CommonBox(4));
    EXPECT_EQ(set.m_abUse[1], 1);
    EXPECT_EQ(set.m_abUse2[4], 1);
    AccessibleToggle(rows->UseBox(1));
    EXPECT_EQ(set.m_abUse[1], 0);
    EXPECT_FALSE(rows->UseBox(1)->isChecked());

    AccessibleToggle(panel->TabButton(kValueSweep));
    EXPECT_EQ(set.m_nValueType, kValueSweep);
    EXPECT_EQ(panel->VisiblePage(), ValuePage::Sweep);
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
    EXPECT_EQ(dlg.IntervalField()->Text(), "61");
}

TEST(SettingDlg, LeavingAFieldSettlesItWithoutTyping) {
    // 7 kV typed on the AC port; the edition-3 telecom port then narrows the limit to 6 kV.
    // The fixed page keeps showing 7.0 until the operator passes through the field.
    CSettingDlg dlg(Record(9));
    ShowActive(dlg);
    CValueEdit* fixed = dlg.VoltagePanel()->FixPage()->Field();
    Type(fixed, "7");
    Choose(dlg.PortCombo(), kPortTelecom);
    EXPECT_EQ(dlg.VisiblePage(), OutputPage::TelecomEd3);
    EXPECT_EQ(fixed->Text(), "7.0");
    fixed->Edit()->setFocus();
    dlg.CountField()->Edit()->setFocus();
    EXPECT_EQ(dlg.Record().m_valVolt.m_lValue, 6000);
    EXPECT_EQ(fixed->Text(), "6.0");

    // The same with the keyboard alone: typed and left with Tab, then passed through again.
    Choose(dlg.PortCombo(), kPortAc);
    fixed->Edit()->setFocus();
    fixed->Edit()->selectAll();
    QTest::keyClicks(fixed->Edit(), "7");
    QTest::keyClick(fixed->Edit(), Qt::Key_Tab);
    ASSERT_FALSE(fixed->Edit()->hasFocus());
    EXPECT_EQ(dlg.Record().m_valVolt.m_lValue, 7000);
    Choose(dlg.PortCombo(), kPortTelecom);
    fixed->Edit()->setFocus();
    QTest::keyClick(fixed->Edit(), Qt::Key_Tab);
    EXPECT_EQ(dlg.Record().m_valVolt.m_lValue, 6000);
    EXPECT_EQ(fixed->Text(), "6.0");
}

TEST(SettingDlg, TypedTextSurvivesOtherControlsUntilTheFieldIsLeft) {
    // A spin arrow takes no focus: the count spun while the voltage holds unfinished text
    // leaves that text, and leaving the field then stores it.
    CSettingDlg dlg(Record(5));
    ShowActive(dlg);
    CValueEdit* fixed = dlg.VoltagePanel()->FixPage()->Field();
    fixed->Edit()->setFocus();
    fixed->Edit()->selectAll();
    QTest::keyClicks(fixed->Edit(), "3");
    QTest::mouseClick(dlg.CountField()->UpButton(), Qt::LeftButton);
    EXPECT_EQ(dlg.Record().m_lDisc, 6);
    EXPECT_EQ(fixed->Text(), "3");
    QTest::keyClick(fixed->Edit(), Qt::Key_Tab);
    EXPECT_EQ(dlg.Record().m_valVolt.m_lValue, 3000);
    EXPECT_EQ(fixed->Text(), "3.0");
}

TEST(SettingDlg, EditorClosedWithAFieldInTheMiddleOfAnEdit) {
    // Taking down a shown editor takes the focus from a field with unfinished text; the field's
    // report reaches no one, and nothing crashes.
    CSettingData r = Record(5);
    {
        CSettingDlg dlg(r);
        ShowActive(dlg);
        dlg.CountField()->Edit()->setFocus();
        QTest::keyClicks(dlg.CountField()->Edit(), "7");
    }
    SUCCEED();
}

TEST(SettingDlg, PortsShowTheirPages) {
    CSettingDlg none(Record(kNoMachineType));
    EXPECT_EQ(none.PortCombo()->count(), 0);
    EXPECT_EQ(none.VisiblePage(), OutputPage::None);

    CSettingDlg ed3(Record(9, kPortTelecom));
    EXPECT_EQ(ed3.PortCombo()->currentData().toInt(), kPortTelecom);
    EXPECT_EQ(ed3.VisiblePage(), OutputPage::TelecomEd3);
    Choose(ed3.PortCombo(), kPortAc);
    EXPECT_EQ(ed3.VisiblePage(), OutputPage::Ac);
    EXPECT_EQ(ed3.Record().m_outOutput.m_nOutputPort, kPortAc);

    CSettingDlg unit(Record(0x400B, kPortSurge));
    EXPECT_EQ(unit.PortCombo()->currentData().toInt(), kPortAc);
    Choose(unit.PortCombo(), kPortTelecom);
    EXPECT_EQ(unit.VisiblePage(), OutputPage::TelecomUnit);
    EXPECT_EQ(Items(unit.Page(OutputPage::TelecomUnit)->WaveformCombo()), QStringList{"10/700"});
    Choose(unit.Page(OutputPage::TelecomUnit)->CouplingCombo(), 2);
    EXPECT_EQ(unit.Record().m_outOutput.m_aopOutputPort[kPortTelecom].m_nCoup, 2);
}

TEST(SettingDlg, AcLineBoxesFollowTheConfiguration) {
    CSettingData r = Record(5);
    r.m_outOutput.m_aopOutputPort[0].m_aulInjRetBit[0] = 0x9;  // L-N and N-L
    r.m_outOutput.m_aopOutputPort[0].m_aulInjRetBit[3] = 0x2;  // L1-L3
    CSettingDlg dlg(r, nullptr, 1);
    CSetOutputPage* ac = dlg.Page(OutputPage::Ac);
    EXPECT_EQ(ac->DetailCombo()->count(), 7);
    EXPECT_EQ(ac->LineBox(0)->text(), "L  - N ");
    EXPECT_TRUE(ac->LineBox(3)->isChecked());

    Choose(ac->DetailCombo(), kAcThreePhase);
    EXPECT_EQ(ac->LineBox(0)->text(), "L1 - L2");
    EXPECT_EQ(ac->LineBox(0)->accessibleName(), "L1 - L2");
    EXPECT_FALSE(ac->LineBox(0)->isChecked());
    EXPECT_TRUE(ac->LineBox(1)->isChecked());
    EXPECT_FALSE(ac->LineBox(2)->isEnabled());
    EXPECT_TRUE(ac->LineBox(kAcLNPE)->isHidden());

    QTest::mouseClick(ac->LineBox(4), Qt::LeftButton);
    EXPECT_EQ(dlg.Record().m_outOutput.m_aopOutputPort[0].m_aulInjRetBit[3], 0x12u);
    QTest::keyClick(ac->LineBox(4), Qt::Key_Space);
    EXPECT_EQ(dlg.Record().m_outOutput.m_aopOutputPort[0].m_aulInjRetBit[3], 0x2u);
}

TEST(SettingDlg, WaveformShowsTheRingImpedanceAndMovesTheIntervalField) {
    CSettingData r = Record(2, kPortDc);
    r.m_outOutput.m_aopOutputPort[1].m_nRingRegi = 1;
    CSettingDlg dlg(r);
    CSetOutputPage* dc = dlg.Page(OutputPage::Dc);
    ASSERT_EQ(dlg.VisiblePage(), OutputPage::Dc);
    EXPECT_TRUE(dc->RingCombo()->isHidden());
    Choose(dc->WaveformCombo(), kWaveRing);
    EXPECT_FALSE(dc->RingCombo()->isHidden());
    EXPECT_EQ(dc->RingCombo()->currentText(), "12ohm");
    Choose(dc->WaveformCombo(), kWave1250);
    EXPECT_TRUE(dc->RingCombo()->isHidden());

    // A telecom port with 10/700 needs 15 s; the field follows the record.
    CSettingData t = Record(1, kPortAc);
    t.m_lRept = 10;
    CSettingDlg tel(t);
    Choose(tel.PortCombo(), kPortTelecom);
    EXPECT_EQ(tel.Record().m_lRept, 15);
    EXPECT_EQ(tel.IntervalField()->Text(), "15");
}

TEST(SettingDlg, SyncRadiosEnableTheAnglePanel) {
    CSettingDlg dlg(Record(5));
    auto* ac = static_cast<CSetOutputAcDlg*>(dlg.Page(OutputPage::Ac));
    CValueDlg* angle = ac->AnglePanel();
    EXPECT_TRUE(ac->AsyncRadio()->isChecked());
    EXPECT_FALSE(angle->SweepPage()->Field(SweepField::Start)->isEnabled());
    EXPECT_EQ(angle->SweepPage()->Field(SweepField::End)->Text(), "270");
    QTest::mouseClick(ac->SyncRadio(), Qt::LeftButton);
    EXPECT_EQ(dlg.Record().m_outOutput.m_aopOutputPort[0].m_nSync, 1);
    EXPECT_TRUE(angle->SweepPage()->Field(SweepField::Start)->isEnabled());
    Type(angle->SweepPage()->Field(SweepField::End), "400");
    EXPECT_EQ(dlg.Record().m_outOutput.m_aopOutputPort[0].m_valAngle.m_lEnd, 360);
    EXPECT_EQ(angle->SweepPage()->Field(SweepField::End)->Text(), "360");
}

TEST(SettingDlg, ScreenReaderTogglesReachTheRecord) {
    // The telecom page starts with RET PE only. A screen reader unchecks it and checks RET 1:
    // OK must see RET 1 and nothing else.
    CSettingDlg dlg(Record(1, kPortTelecom));
    dlg.show();
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

// The summary of a settings document: which rows show what, the step list's texts and column
// widths, and the order and refusals of the test execution command.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTimer>

#include "CurrentMachine.h"
#include "ElidingHeader.h"
#include "ScriptedMessageSink.h"
#include "SetOutputPage.h"
#include "SettingDlg.h"
#include "SettingsDoc.h"
#include "SummaryContent.h"
#include "SummaryStepModel.h"
#include "TestExecutionCommand.h"
#include "TestProperty.h"
#include "ZebM40Cntl.h"
#include "ZebM40SettingsView.h"

namespace zeb {
namespace {

CSettingData Record(quint32 machine = 5) {
    CSettingData rec;
    rec.m_ulMachineType = machine;
    rec.SetDefault();
    return rec;
}

TEST(SummaryContent, ValueListsAndLineSetsAreJoined) {
    CSettingData rec = Record();
    rec.m_valVolt.m_nValueType = kValueVariable;
    rec.m_valVolt.m_nVariableKind = 0;
    rec.m_valVolt.m_abUse[0] = 1;
    rec.m_valVolt.m_alValue[0] = 500;
    rec.m_valVolt.m_abUse[1] = 1;
    rec.m_valVolt.m_alValue[1] = 1000;
    OUTPUT_PORT& ac = rec.m_outOutput.m_aopOutputPort[kPortAc];
    ac.m_nOutputDetail = 3;
    ac.m_aulInjRetBit[3] = (1u << 0) | (1u << 12);

    const SummaryContent s = MakeSummary(rec);
    EXPECT_EQ(s.modelName, QStringLiteral("ZEB-M40C3"));
    EXPECT_EQ(s.rows[kRowVoltage].value, QStringLiteral("0.5, 1.0"));
    EXPECT_EQ(s.rows[kRowLines].value, QStringLiteral("L1 - L2, L1 - PE"));
    EXPECT_EQ(s.rows[kRowLines].caption, QStringLiteral("INJ - RET"));
    EXPECT_EQ(s.rows[kRowCoupling].caption, QStringLiteral("Coupling"));
}

TEST(SummaryContent, TelecomPortRenamesCouplingAndLines) {
    CSettingData rec = Record(1);
    rec.m_outOutput.m_nOutputPort = kPortTelecom;
    const SummaryContent s = MakeSummary(rec);
    EXPECT_EQ(s.rows[kRowCoupling].caption, QStringLiteral("Impedance"));
    EXPECT_EQ(s.rows[kRowLines].caption, QStringLiteral("RET"));
    EXPECT_EQ(LineColumnHeader(rec), QStringLiteral("RET"));
}

TEST(SummaryContent, RingImpedanceOnlyWithTheRingWave) {
    CSettingData rec = Record();
    EXPECT_FALSE(MakeSummary(rec).rows[kRowRingImpedance].visible);
    rec.m_outOutput.m_aopOutputPort[kPortAc].m_nWaveform = 2;
    const SummaryContent ring = MakeSummary(rec);
    EXPECT_TRUE(ring.rows[kRowRingImpedance].visible);
    EXPECT_EQ(ring.rows[kRowRingImpedance].value, QStringLiteral("30ohm"));
}

TEST(SummaryStepList, TextsHeadersAndWidths) {
    CZebM40SettingsDoc doc;
    ASSERT_TRUE(doc.OnNewDocument(5, 1));
    ASSERT_FALSE(doc.Steps().empty());
    CSummaryStepModel model(doc);
    EXPECT_EQ(model.rowCount(), static_cast<int>(doc.Steps().size()));
    EXPECT_EQ(model.index(0, 0).data().toString(), QStringLiteral("Step   1"));
    EXPECT_EQ(model.index(0, 2).data().toString(), doc.Steps()[0].GetItemText(9));
    EXPECT_EQ(model.headerData(3, Qt::Horizontal).toString(), QStringLiteral("INJ - RET"));
    EXPECT_EQ(model.index(0, 3).data(Qt::TextAlignmentRole).value<Qt::Alignment>() &
                  Qt::AlignHorizontal_Mask,
              Qt::AlignHCenter);
    // Headers align as their columns do.
    const auto headerAlign = [&](int section) {
        return model.headerData(section, Qt::Horizontal, Qt::TextAlignmentRole)
                   .value<Qt::Alignment>() &
               Qt::AlignHorizontal_Mask;
    };
    EXPECT_EQ(headerAlign(0), Qt::AlignRight);
    EXPECT_EQ(headerAlign(4), Qt::AlignHCenter);
    EXPECT_EQ(headerAlign(5), Qt::AlignRight);
    EXPECT_FALSE(model.index(99999, 0).data().isValid());

    // 416 usable pixels: the columns take 5, 7, 6, 10, 5 and 5 fortieths of it.
    const std::vector<int> w = CSummaryStepModel::ColumnWidths(432, 16);
    EXPECT_EQ(w, (std::vector<int>{52, 72, 62, 104, 52, 52}));
    for (int x : CSummaryStepModel::ColumnWidths(5, 16)) {
        EXPECT_EQ(x, 0);
    }
}

// Records which of the command's steps ran, in order.
struct Recorder {
    std::vector<std::string> calls;
    bool preOk = true;
    bool infoOk = true;
    TestExecutionSteps Steps() {
        return {[this] {
                    calls.push_back("pre");
                    return preOk;
                },
                [this] {
                    calls.push_back("info");
                    return infoOk;
                },
                [this] { calls.push_back("exec"); }};
    }
};

TEST(TestExecution, OrderAndWhatEachRefusalLeaves) {
    test::ScriptedMessageSink sink;
    CZebM40SettingsDoc doc;
    ASSERT_TRUE(doc.OnNewDocument(5, 1));
    CTestProperty property;
    property.m_tmTestDate = 111;

    Recorder ok;
    doc.SetCurrentStep(3);
    EXPECT_TRUE(RunTestExecution(doc, property, 5000, ok.Steps()));
    EXPECT_EQ(ok.calls, (std::vector<std::string>{"pre", "info", "exec"}));
    EXPECT_EQ(property.m_tmTestDate, 5000);
    EXPECT_EQ(doc.CurrentStep(), 0);

    // A failed check keeps the new moment; a cancelled environment dialog puts the old back.
    Recorder refused;
    refused.preOk = false;
    EXPECT_FALSE(RunTestExecution(doc, property, 6000, refused.Steps()));
    EXPECT_EQ(refused.calls, (std::vector<std::string>{"pre"}));
    EXPECT_EQ(property.m_tmTestDate, 6000);
    Recorder cancelled;
    cancelled.infoOk = false;
    EXPECT_FALSE(RunTestExecution(doc, property, 7000, cancelled.Steps()));
    EXPECT_EQ(cancelled.calls, (std::vector<std::string>{"pre", "info"}));
    EXPECT_EQ(property.m_tmTestDate, 6000);
}

TEST(TestExecution, EmptyStepListIsRefusedBeforeAnyCheck) {
    test::ScriptedMessageSink sink;
    sink.Expect(QString::fromLatin1(kNoStepMessage));
    CZebM40SettingsDoc doc;
    ASSERT_TRUE(doc.OnNewDocument(5, 1));
    doc.Steps().clear();
    CTestProperty property;
    Recorder r;
    EXPECT_FALSE(RunTestExecution(doc, property, 5000, r.Steps()));
    EXPECT_TRUE(r.calls.empty());
    EXPECT_EQ(property.m_tmTestDate, 0);
}

// A controller with no ports at all: every query fails at once.
CZebM40Cntl& NoInstrument() {
    static CZebM40Cntl cntl(SerialAccess{[] { return QStringList(); }, nullptr});
    return cntl;
}

TEST(SummaryView, ShowsTheDocumentAndForwardsTheButtons) {
    test::ScriptedMessageSink sink;
    CZebM40SettingsDoc doc;
    ASSERT_TRUE(doc.OnNewDocument(5, 1));
    doc.Record().m_outOutput.m_aopOutputPort[kPortAc].m_nWaveform = 2;
    CTestProperty property;

    struct View : CZebM40SettingsView {
        using CZebM40SettingsView::CZebM40SettingsView;
        int infoShown = 0;
        bool ShowTestInfo() override {
            ++infoShown;
            return false;
        }
    } view(doc, NoInstrument(), property);
    view.resize(800, 600);
    view.show();
    view.OnInitialUpdate();

    EXPECT_EQ(view.ModelLabel()->text(), QStringLiteral("ZEB-M40C3"));
    EXPECT_EQ(view.CaptionLabel(kRowLines)->text(), QStringLiteral("INJ - RET:"));
    EXPECT_TRUE(view.ValueLabel(kRowRingImpedance)->isVisible());
    EXPECT_EQ(view.StepList()->model()->rowCount(), static_cast<int>(doc.Steps().size()));
    EXPECT_EQ(view.StepList()->currentIndex().row(), 0);
    EXPECT_TRUE(view.SettingsButton()->isEnabled());

    // Without an instrument the checks pass; the environment dialog is cancelled.
    view.ExecuteButton()->click();
    EXPECT_EQ(view.infoShown, 1);
    EXPECT_EQ(property.m_tmTestDate, 0);

    // The list follows the view's width, but never narrows past the buttons' right edge.
    const int before = view.StepList()->width();
    view.resize(1000, 600);
    EXPECT_GT(view.StepList()->width(), before);
    const auto rightEdge = [&](QWidget* w) { return w->mapTo(&view, QPoint(w->width(), 0)).x(); };
    view.resize(view.minimumSizeHint());
    const int narrowest = view.StepList()->width();
    EXPECT_GE(rightEdge(view.StepList()), rightEdge(view.ExecuteButton()));
    view.resize(100, 600);
    EXPECT_EQ(view.StepList()->width(), narrowest);

    // At its natural size the form shows every column header in full.
    view.resize(view.sizeHint());
    auto* header = dynamic_cast<CElidingHeader*>(view.StepList()->horizontalHeader());
    ASSERT_NE(header, nullptr);
    for (int c = 0; c < CSummaryStepModel::kColumnCount; ++c) {
        const QString text = header->model()->headerData(c, Qt::Horizontal).toString();
        EXPECT_EQ(header->ShownCaption(text, Qt::AlignRight, header->sectionSize(c)).text, text);
    }
}

// What a screen reader reads of a label: its name, and the value it shows as its description.
QString ReadOut(QWidget* w) {
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
    return a ? a->text(QAccessible::Name) + " / " + a->text(QAccessible::Description) : QString();
}

TEST(SummaryView, LongValuesWrapAndBothButtonsStayInSight) {
    CTestProperty property;
    CZebM40SettingsDoc plain;
    ASSERT_TRUE(plain.OnNewDocument(5, 1));
    CZebM40SettingsView plainView(plain, NoInstrument(), property);
    plainView.OnInitialUpdate();

    // SINGLE PHASE L , N , PE with five voltages, each used NORMAL and COMMON.
    CZebM40SettingsDoc doc;
    ASSERT_TRUE(doc.OnNewDocument(5, 1));
    CSettingData rec = doc.Record();
    rec.m_outOutput.m_nOutputPort = kPortAc;
    rec.m_outOutput.m_aopOutputPort[kPortAc].m_nOutputDetail = 1;
    rec.m_valVolt.m_nValueType = kValueVariable;
    rec.m_valVolt.m_nVariableKind = 1;
    for (int i = 0; i < 5; ++i) {
        rec.m_valVolt.m_abUse[i] = 1;
        rec.m_valVolt.m_abUse2[i] = 1;
        rec.m_valVolt.m_alValue[i] = 500 * (i + 1);
    }
    doc.ApplyRecord(rec);
    CZebM40SettingsView view(doc, NoInstrument(), property);
    view.OnInitialUpdate();
    QLabel* volts = view.ValueLabel(kRowVoltage);
    ASSERT_TRUE(volts->text().startsWith("0.5 (NORMAL & COMMON), 1.0 (NORMAL & COMMON)"));

    // However long a value, the form gets no wider than with short ones.
    EXPECT_EQ(view.minimumSizeHint().width(), plainView.minimumSizeHint().width());
    view.resize(view.minimumSizeHint().width(), 600);
    view.show();
    QApplication::processEvents();
    const auto rightEdge = [&](QWidget* w) { return w->mapTo(&view, QPoint(w->width(), 0)).x(); };
    EXPECT_LE(rightEdge(view.ExecuteButton()), view.width());
    EXPECT_LE(rightEdge(view.SettingsButton()), view.width());
    EXPECT_LT(rightEdge(volts), view.ExecuteButton()->mapTo(&view, QPoint(0, 0)).x());
    // The value wraps onto as many lines as it needs, none cut off.
    EXPECT_GE(volts->height(), volts->heightForWidth(volts->width()));
    EXPECT_GT(volts->height(), 2 * volts->fontMetrics().lineSpacing());

    // The screen reader hears the value with its caption.
    EXPECT_EQ(ReadOut(volts), "Voltage [kV] / " + volts->text());
    EXPECT_EQ(ReadOut(view.ModelLabel()), "Model / ZEB-M40C3");
}

TEST(SummaryView, SettingsCommandTakesTheEditOnlyOnOk) {
    CZebM40SettingsDoc doc;
    ASSERT_TRUE(doc.OnNewDocument(5, 1));
    CTestProperty property;
    struct View : CZebM40SettingsView {
        using CZebM40SettingsView::CZebM40SettingsView;
        bool accept = false;
        bool EditRecord(CSettingData& record) override {
            record.m_ulPola = 3;  // both polarities: twice the steps
            record.m_lDisc = 7;
            return accept;
        }
    } view(doc, NoInstrument(), property);
    view.OnInitialUpdate();
    const size_t steps = doc.Steps().size();

    view.OnSettings();
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.Record().m_lDisc, 5);

    view.accept = true;
    view.OnSettings();
    EXPECT_EQ(doc.Record().m_lDisc, 7);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.Steps().size(), 2 * steps);
    EXPECT_EQ(view.ValueLabel(kRowDischarge)->text(), QStringLiteral("7"));
    EXPECT_EQ(ReadOut(view.ValueLabel(kRowDischarge)), "Discharge count / 7");
    EXPECT_EQ(view.ValueLabel(kRowPolarity)->text(), QStringLiteral("+/-"));
    EXPECT_EQ(view.StepList()->model()->rowCount(), static_cast<int>(2 * steps));
}

TEST(SummaryView, SettingsButtonOpensTheEditorOnACopy) {
    // A three-phase machine; the instrument last connected had the newer hardware, though
    // none is connected now: the editor still offers the seventh line configuration.
    CZebM40SettingsDoc doc;
    ASSERT_TRUE(doc.OnNewDocument(5, 0));
    CTestProperty property;
    CurrentMachine machine;
    machine.m_ulCurrentMachineType = 5;
    machine.m_nCurrentHWVersion = 1;
    CZebM40SettingsView view(doc, NoInstrument(), property, nullptr, &machine);
    view.OnInitialUpdate();
    bool editorShown = false;
    int details = 0;
    QTimer::singleShot(0, [&] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            if (auto* editor = qobject_cast<CSettingDlg*>(modal)) {
                editorShown = true;
                details = editor->Page(OutputPage::Ac)->DetailCombo()->count();
            }
            modal->close();
        }
    });
    view.SettingsButton()->click();
    EXPECT_TRUE(editorShown);
    EXPECT_EQ(details, 7);
    EXPECT_FALSE(doc.IsModified());
}

}  // namespace
}  // namespace zeb

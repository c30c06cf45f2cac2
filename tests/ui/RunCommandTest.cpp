// The summary view's test execution command against a simulated instrument: the 6 kV limiter,
// the question about a line switched on in another configuration, and the test environment
// dialog that comes after them.

#include <gtest/gtest.h>

#include "../e2e/SimFixture.h"
#include "ScriptedMessageSink.h"
#include "SettingsDoc.h"
#include "TestProperty.h"
#include "ZebM40Cntl.h"
#include "ZebM40SettingsView.h"

namespace zeb {
namespace {

// The view with its two dialogs replaced by records of what happened.
struct ProbeView : CZebM40SettingsView {
    using CZebM40SettingsView::CZebM40SettingsView;
    int infoShown = 0;
    int runs = 0;
    int messagesBeforeInfo = -1;
    bool infoAnswer = true;
    test::ScriptedMessageSink* sink = nullptr;
    bool ShowTestInfo() override {
        ++infoShown;
        messagesBeforeInfo = sink ? static_cast<int>(sink->Shown().size()) : -1;
        return infoAnswer;
    }
    void ShowRunDialog() override { ++runs; }
};

class RunCommand : public test::SimFixture {
protected:
    // A document for the simulated ZEB-M40C3 whose one step has the given voltage.
    void MakeDoc(int32_t volts) {
        ASSERT_TRUE(doc.OnNewDocument(5, 1));
        CSettingData rec = doc.Record();
        rec.m_valVolt.m_nValueType = kValueFixed;
        rec.m_valVolt.m_lValue = volts;
        doc.ApplyRecord(rec);
        ASSERT_EQ(doc.Steps().size(), 1u);
    }

    test::ScriptedMessageSink sink;
    CZebM40SettingsDoc doc;
    CTestProperty property;
};

TEST_F(RunCommand, LimiterLetsSixKilovoltsPassAndRefusesMore) {
    zebsim::SimOptions options;
    options.limiter6kV = true;
    AddSim(options);
    CZebM40Cntl cntl;
    ASSERT_TRUE(cntl.IsConnected());

    MakeDoc(6000);
    ProbeView view(doc, cntl, property);
    view.sink = &sink;
    view.OnExecute();
    EXPECT_EQ(view.infoShown, 1);
    EXPECT_EQ(view.runs, 1);

    MakeDoc(6100);
    ProbeView refused(doc, cntl, property);
    sink.Expect(
        QStringLiteral("6kV limiter is enabled.\nChange setup voltage or reset the limter."));
    property.m_tmTestDate = 0;
    refused.OnExecute();
    EXPECT_EQ(refused.infoShown, 0);
    EXPECT_EQ(refused.runs, 0);
    EXPECT_NE(property.m_tmTestDate, 0);  // the check came after the new moment was set
}

TEST_F(RunCommand, LineInAnotherConfigurationIsQuestionedBeforeTheEnvironment) {
    zebsim::PtySimulator& sim = AddSim();
    CZebM40Cntl cntl;
    ASSERT_TRUE(cntl.IsConnected());
    // The instrument has the DC port switched on; the document is for the AC port.
    ASSERT_TRUE(cntl.Protocol().SendCommand(QStringLiteral("PO1")));
    ASSERT_TRUE(cntl.LineOn());
    MakeDoc(500);

    ProbeView declined(doc, cntl, property);
    sink.Expect(QStringLiteral("The EUT LINE will turn OFF.\nIs it ok?"), MsgAnswer::Cancel);
    declined.OnExecute();
    EXPECT_EQ(declined.infoShown, 0);

    ProbeView agreed(doc, cntl, property);
    agreed.sink = &sink;
    agreed.infoAnswer = false;
    sink.Expect(QStringLiteral("The EUT LINE will turn OFF.\nIs it ok?"), MsgAnswer::Ok);
    sim.ClearLog();
    property.m_tmTestDate = 42;
    agreed.OnExecute();
    EXPECT_EQ(agreed.infoShown, 1);
    // Both questions (declined, then agreed) were asked before the dialog opened.
    EXPECT_EQ(agreed.messagesBeforeInfo, 2);
    EXPECT_TRUE(sim.CommandLog().contains(QStringLiteral("CD")));
    // The environment dialog was cancelled: the moment before the command is back.
    EXPECT_EQ(property.m_tmTestDate, 42);
    EXPECT_EQ(agreed.runs, 0);
}

}  // namespace
}  // namespace zeb

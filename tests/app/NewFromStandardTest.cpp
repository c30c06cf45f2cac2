// File > "New from standard...": the menu command and the document it makes.

#include <gtest/gtest.h>

#include <QAction>
#include <QMenuBar>

#include "AppFixture.h"
#include "ChildFrame.h"
#include "MainFrame.h"
#include "PlanGenerator.h"
#include "SettingsDoc.h"
#include "ShippedProfiles.h"

namespace zeb {
namespace {

class NewFromStandard : public test::AppFixture {
protected:
    void SetUp() override {
        UsePorts();  // no instrument; the model is chosen
        app = MakeApp(1, 5);
        ASSERT_TRUE(app->InitInstance());
    }
    void TearDown() override {
        app.reset();
        SimFixture::TearDown();
    }
    test::ShippedProfiles profiles;
    std::unique_ptr<CZebM40App> app;
};

TEST_F(NewFromStandard, TheFileMenuMakesAModifiedDocumentOfThePlanAndItsStandard) {
    CMainFrame* frame = app->MainFrame();
    QAction* action = frame->Action("newFromStandard");
    ASSERT_NE(action, nullptr);
    EXPECT_EQ(action->text().remove(QLatin1Char('&')), QStringLiteral("New from standard..."));
    QMenu* file = frame->menuBar()->actions().first()->menu();
    EXPECT_TRUE(file->actions().contains(action));

    const StandardRef standard{QStringLiteral("iec61000-4-5-2005"), QStringLiteral("2"), 0};
    PlanRequest request;
    request.standard = standard;
    request.machineType = 5;
    request.configuration = 1;
    PlanResult plan;
    QString error;
    ASSERT_TRUE(GeneratePlan(*InstalledProfiles().Find(standard.profile), request, plan, error));
    bool cancel = true;
    frame->SetAskPlan([&](CSettingData& record, StandardRef& chosen) {
        record = plan.record;
        chosen = standard;
        return !cancel;
    });
    const qsizetype before = frame->Children().size();  // the new document of the start-up
    action->trigger();
    EXPECT_EQ(frame->Children().size(), before);
    cancel = false;
    action->trigger();
    ASSERT_EQ(frame->Children().size(), before + 1);
    ASSERT_NE(frame->ActiveChild(), nullptr);
    const CZebM40SettingsDoc& doc = frame->ActiveChild()->Document();
    EXPECT_EQ(doc.Standard(), standard);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.Steps().size(), 48u);  // 2 levels x 3 paths x 2 polarities x 4 angles
}

}  // namespace
}  // namespace zeb

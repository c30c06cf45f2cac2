// What a screen reader is told about the run and judgement dialogs' controls: combo boxes by
// their label with the choice as value, START by what a press does, the judgement by its step.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QAccessible>
#include <QComboBox>
#include <QDialog>
#include <QPushButton>

#include "ExecWidgets.h"
#include "JudgeDlg.h"
#include "NamedComboAccessible.h"

namespace zeb {
namespace {

QString Spoken(QObject* object, QAccessible::Text what) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(object);
    return iface ? iface->text(what) : QStringLiteral("<no interface>");
}

TEST(AccessibleNamesTest, CombosAreNamedAfterTheirLabelAndGiveTheChoiceAsValue) {
    CJudgeDlg judge;
    FillJudgementCombo(judge.JudgementCombo(), 2);
    EXPECT_EQ(Spoken(judge.JudgementCombo(), QAccessible::Name), "Result");
    EXPECT_EQ(Spoken(judge.JudgementCombo(), QAccessible::Value), "PASS");
    EXPECT_EQ(QAccessible::queryAccessibleInterface(judge.JudgementCombo())->role(),
              QAccessible::ComboBox);
    // A new choice is read at once; the name stays.
    judge.JudgementCombo()->setCurrentIndex(judge.JudgementCombo()->findText("FAIL"));
    EXPECT_EQ(Spoken(judge.JudgementCombo(), QAccessible::Value), "FAIL");
    EXPECT_EQ(Spoken(judge.JudgementCombo(), QAccessible::Name), "Result");

    QDialog dlg;
    CExecWidgets w;
    w.Build(&dlg);
    EXPECT_EQ(Spoken(w.bulkCombo, QAccessible::Name), "Result of all steps");
    EXPECT_EQ(Spoken(w.bulkCombo, QAccessible::Value), "------");

    // A combo box nobody named keeps speaking its choice; the list of choices stays reachable.
    QComboBox plain;
    plain.addItems({"AC", "DC"});
    EXPECT_EQ(Spoken(&plain, QAccessible::Name), "AC");
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&plain);
    ASSERT_EQ(iface->childCount(), 1);
    EXPECT_EQ(iface->child(0)->object(), static_cast<QObject*>(plain.view()));
}

TEST(AccessibleNamesTest, StartIsNamedAfterWhatAPressDoesAndTheJudgementAfterItsStep) {
    QDialog dlg;
    CExecWidgets w;
    w.Build(&dlg);
    const struct {
        bool pauses, resumes;
        const char* name;
    } cases[] = {{true, false, "PAUSE"}, {false, true, "RESUME"}, {false, false, "START"}};
    for (const auto& c : cases) {
        w.ShowStartAction(c.pauses, c.resumes);
        EXPECT_EQ(Spoken(w.start, QAccessible::Name), c.name);
        EXPECT_EQ(w.start->text(), "START");  // the face of the button stays as it was
    }

    CJudgeDlg judge;
    judge.SetStep(5);
    EXPECT_EQ(judge.windowTitle(), "Judgement of step 5");
    EXPECT_EQ(Spoken(&judge, QAccessible::Name), "Judgement of step 5");
}

}  // namespace
}  // namespace zeb

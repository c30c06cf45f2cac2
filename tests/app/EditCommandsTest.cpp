// Cut, Copy and Paste of the main window: what each may do on a field, and that the menu and
// tool bar commands follow the focused field and act on it.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

#include "EditCommands.h"

namespace zeb {
namespace {

TEST(EditAbilities, FollowSelectionReadOnlyAndClipboard) {
    QLineEdit edit(QStringLiteral("1.25"));
    EditAbilities can = EditAbilitiesOf(&edit, false);
    EXPECT_FALSE(can.cut || can.copy || can.paste);
    EXPECT_TRUE(EditAbilitiesOf(&edit, true).paste);

    edit.setSelection(0, 2);
    can = EditAbilitiesOf(&edit, true);
    EXPECT_TRUE(can.cut && can.copy && can.paste);

    // A read-only field can be copied from, never changed.
    edit.setReadOnly(true);
    can = EditAbilitiesOf(&edit, true);
    EXPECT_TRUE(can.copy);
    EXPECT_FALSE(can.cut || can.paste);

    // A password field gives nothing away.
    edit.setReadOnly(false);
    edit.setEchoMode(QLineEdit::Password);
    EXPECT_FALSE(EditAbilitiesOf(&edit, false).copy);
    EXPECT_FALSE(EditAbilitiesOf(&edit, false).cut);

    // A selectable label can only be copied from; other controls offer nothing.
    QLabel label(QStringLiteral("AC LINE OUTPUT"));
    label.setTextInteractionFlags(Qt::TextSelectableByMouse);
    EXPECT_FALSE(EditAbilitiesOf(&label, true).copy);
    label.setSelection(0, 2);
    can = EditAbilitiesOf(&label, true);
    EXPECT_TRUE(can.copy);
    EXPECT_FALSE(can.cut || can.paste);
    QPushButton button;
    EXPECT_FALSE(EditAbilitiesOf(&button, true).paste);
    EXPECT_FALSE(EditAbilitiesOf(nullptr, true).paste);
}

class EditCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (QAction** a : {&cut, &copy, &paste}) {
            *a = new QAction(&window);
        }
        auto* body = new QWidget(&window);
        auto* layout = new QVBoxLayout(body);
        edit = new QLineEdit(QStringLiteral("surge 2.0 kV"), body);
        notes = new QPlainTextEdit(QStringLiteral("EUT restarted"), body);
        layout->addWidget(edit);
        layout->addWidget(notes);
        window.setCentralWidget(body);
        commands = std::make_unique<CEditCommands>(&window, cut, copy, paste);
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        QApplication::clipboard()->clear();
    }
    void TearDown() override { commands.reset(); }

    QMainWindow window;
    QAction* cut = nullptr;
    QAction* copy = nullptr;
    QAction* paste = nullptr;
    QLineEdit* edit = nullptr;
    QPlainTextEdit* notes = nullptr;
    std::unique_ptr<CEditCommands> commands;
};

TEST_F(EditCommandsTest, EnabledStateFollowsTheFocusedField) {
    edit->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(commands->Field(), edit);
    EXPECT_FALSE(cut->isEnabled() || copy->isEnabled() || paste->isEnabled());

    // Selecting with the keyboard enables Cut and Copy; putting text on the clipboard, Paste.
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    EXPECT_TRUE(cut->isEnabled() && copy->isEnabled());
    QApplication::clipboard()->setText(QStringLiteral("3.5"));
    EXPECT_TRUE(paste->isEnabled());

    // Another field without a selection takes the commands with it.
    notes->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(commands->Field(), notes);
    EXPECT_FALSE(cut->isEnabled() || copy->isEnabled());
    EXPECT_TRUE(paste->isEnabled());
    notes->setReadOnly(true);
    EXPECT_FALSE(paste->isEnabled());

    // A field of another window is not ours.
    QLineEdit elsewhere(QStringLiteral("x"));
    elsewhere.show();
    elsewhere.activateWindow();
    elsewhere.setFocus();
    elsewhere.selectAll();
    QApplication::processEvents();
    EXPECT_EQ(commands->Field(), nullptr);
    EXPECT_FALSE(copy->isEnabled() || paste->isEnabled());
}

TEST_F(EditCommandsTest, TriggeringActsOnTheFocusedField) {
    edit->setFocus();
    QApplication::processEvents();
    edit->setSelection(6, 3);  // "2.0"
    copy->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("2.0"));
    cut->trigger();
    EXPECT_EQ(edit->text(), QStringLiteral("surge  kV"));
    edit->setCursorPosition(6);
    QApplication::clipboard()->setText(QStringLiteral("4.5"));
    paste->trigger();
    EXPECT_EQ(edit->text(), QStringLiteral("surge 4.5 kV"));
    EXPECT_EQ(notes->toPlainText(), QStringLiteral("EUT restarted"));

    // A disabled command does nothing, even when triggered by hand.
    edit->deselect();
    cut->trigger();
    EXPECT_EQ(edit->text(), QStringLiteral("surge 4.5 kV"));
}

}  // namespace
}  // namespace zeb

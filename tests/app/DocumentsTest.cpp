// The document commands of the main window: which files are ours and what opening an open one
// does, the recent-file list, dropped files, the save question on close, and where document
// windows open.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QTimer>
#include <QUrl>

#include "AppFixture.h"
#include "ChildFrame.h"
#include "ChildPlacement.h"
#include "DocManager.h"
#include "DocTemplate.h"
#include "EutMonitorDlg.h"
#include "IniFile.h"
#include "MainFrame.h"
#include "RecentFiles.h"
#include "SettingsDoc.h"
#include "ZebM40SettingsView.h"

namespace zeb {
namespace {

class Documents : public test::AppFixture {
protected:
    void SetUp() override {
        UsePorts();  // no instrument; the model is chosen
        app = MakeApp(1, 5);
        ASSERT_TRUE(app->InitInstance());
        frame = app->MainFrame();
        frame->SetAskSavePath([this](const QString& suggested) {
            suggestions << suggested;
            return savePath;
        });
    }
    void TearDown() override {
        frame->SetAskSavePath(nullptr);
        app.reset();
        SimFixture::TearDown();
    }

    // A settings file for machine type 5 with the given discharge count.
    QString SavedFile(const QString& name, int discharges = 5) {
        CZebM40SettingsDoc doc;
        doc.OnNewDocument(5, 1);
        doc.Record().m_lDisc = discharges;
        const QString path = dir.filePath(name);
        EXPECT_TRUE(doc.OnSaveDocument(path));
        return path;
    }

    // Drags the files onto the main window and lets them go, as the desktop does.
    void Drop(const QStringList& files) {
        QMimeData mime;
        QList<QUrl> urls;
        for (const QString& f : files) {
            urls << QUrl::fromLocalFile(f);
        }
        mime.setUrls(urls);
        const QPoint at = frame->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(frame, &enter);
        QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(frame, &drop);
    }

    std::unique_ptr<CZebM40App> app;
    CMainFrame* frame = nullptr;
    QString savePath;
    QStringList suggestions;
};

TEST(DocTemplate, OnlyZmsFilesAreOursInAnyCase) {
    CZebM40SettingsDoc* match = nullptr;
    EXPECT_EQ(CMyDocTemplate::MatchDocType(QStringLiteral("/x/A.ZMS"), {}, match),
              CMyDocTemplate::kYesAttemptNative);
    EXPECT_EQ(CMyDocTemplate::MatchDocType(QStringLiteral("/x/a.zms.txt"), {}, match),
              CMyDocTemplate::kNoAttempt);
    EXPECT_EQ(CMyDocTemplate::WithExtension(QStringLiteral("run")), QStringLiteral("run.zms"));
    EXPECT_EQ(CMyDocTemplate::WithExtension(QStringLiteral("run.ZMS")), QStringLiteral("run.ZMS"));
}

TEST_F(Documents, OpenFileAgainActivatesOrLoadsASecondCopy) {
    const QString path = SavedFile(QStringLiteral("a.zms"), 7);
    CChildFrame* first = frame->OpenFile(path);
    ASSERT_NE(first, nullptr);
    const size_t count = app->Documents().Documents().size();

    // Unmodified: the same window comes forward.
    frame->MdiArea()->setActiveSubWindow(frame->Children().first());
    EXPECT_EQ(frame->OpenFile(path), first);
    EXPECT_EQ(frame->ActiveChild(), first);
    EXPECT_EQ(app->Documents().Documents().size(), count);

    // Modified: the edit stays, and the stored file gets a window of its own.
    first->Document().Record().m_lDisc = 99;
    first->Document().SetModifiedFlag();
    CChildFrame* second = frame->OpenFile(path);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(second, first);
    EXPECT_EQ(second->Document().Record().m_lDisc, 7);
    EXPECT_EQ(first->Document().Record().m_lDisc, 99);
}

TEST_F(Documents, OnlySettingsFilesAreRead) {
    QFile other(dir.filePath(QStringLiteral("plan.txt")));
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.close();
    sink.Expect(QStringLiteral("This file is not data for ZEB-M40 / ZEB-M50."));
    EXPECT_EQ(frame->OpenFile(other.fileName()), nullptr);
    // A damaged settings file is refused by the document and leaves no window behind.
    QFile broken(dir.filePath(QStringLiteral("broken.zms")));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("not a settings file");
    broken.close();
    sink.Expect(QStringLiteral("This file is not data for ZEB-M40 / ZEB-M50."));
    EXPECT_EQ(frame->OpenFile(broken.fileName()), nullptr);
    EXPECT_EQ(frame->Children().size(), 1);
}

TEST_F(Documents, RecentFilesKeepTheNewestFourAndForgetMissingOnes) {
    QStringList paths;
    for (int i = 0; i < 5; ++i) {
        paths << SavedFile(QStringLiteral("f%1.zms").arg(i));
        ASSERT_NE(frame->OpenFile(paths.last()), nullptr);
    }
    CRecentFileList& recent = app->Documents().Recent();
    EXPECT_EQ(recent.Files(), (QStringList{paths[4], paths[3], paths[2], paths[1]}));
    frame->OpenFile(paths[2]);  // already open, unmodified: moves nothing but stays listed
    EXPECT_EQ(recent.Files().size(), 4);

    QFile::remove(paths[3]);
    sink.ExpectAny();
    EXPECT_EQ(frame->OpenRecentFile(paths[3]), nullptr);
    EXPECT_TRUE(sink.Shown().back().contains(paths[3]));
    EXPECT_FALSE(recent.Files().contains(paths[3]));

    // The list outlives the program.
    QSettings again(dir.filePath(QStringLiteral("recent.ini")), QSettings::IniFormat);
    EXPECT_EQ(CRecentFileList(again).Files(), recent.Files());
}

TEST_F(Documents, DroppedSettingsFilesAreOpenedOthersIgnored) {
    frame->show();
    const QString zms = SavedFile(QStringLiteral("drop.ZMS"));
    QFile other(dir.filePath(QStringLiteral("notes.txt")));
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.close();
    const int before = frame->Children().size();

    Drop({other.fileName()});
    EXPECT_EQ(frame->Children().size(), before);
    Drop({other.fileName(), zms});
    ASSERT_EQ(frame->Children().size(), before + 1);
    EXPECT_EQ(frame->ActiveChild()->Document().PathName(), zms);
}

TEST_F(Documents, ClosingAModifiedDocumentAsks) {
    CChildFrame* child = frame->ActiveChild();
    ASSERT_NE(child, nullptr);
    EXPECT_FALSE(child->isWindowModified());
    child->Document().SetModifiedFlag();
    // Both titles carry the modified mark at once.
    EXPECT_TRUE(child->isWindowModified());
    EXPECT_TRUE(frame->isWindowModified());

    sink.Expect(QStringLiteral("Save changes to Test1?"), MsgAnswer::Cancel);
    EXPECT_FALSE(child->close());
    EXPECT_EQ(frame->Children().size(), 1);

    // Yes with a cancelled file choice keeps the window too.
    sink.Expect(QStringLiteral("Save changes to Test1?"), MsgAnswer::Yes);
    EXPECT_FALSE(child->close());
    EXPECT_EQ(suggestions, QStringList{QStringLiteral("Test1.zms")});

    savePath = dir.filePath(QStringLiteral("kept"));
    sink.Expect(QStringLiteral("Save changes to Test1?"), MsgAnswer::Yes);
    EXPECT_TRUE(child->close());
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("kept.zms"))));

    CChildFrame* next = frame->OnFileNew();
    next->Document().SetModifiedFlag();
    sink.Expect(QStringLiteral("Save changes to Test2?"), MsgAnswer::No);
    EXPECT_TRUE(next->close());
    QApplication::processEvents();
    EXPECT_TRUE(app->Documents().Documents().empty() || frame->Children().isEmpty());
}

TEST_F(Documents, SaveAsAddsTheExtensionAndRetitles) {
    savePath = dir.filePath(QStringLiteral("plan"));
    ASSERT_TRUE(frame->SaveActiveAs());
    EXPECT_EQ(frame->ActiveChild()->windowTitle(), QStringLiteral("plan.zms[*]"));
    EXPECT_FALSE(frame->ActiveChild()->Document().IsModified());
    EXPECT_FALSE(frame->ActiveChild()->isWindowModified());
    EXPECT_FALSE(frame->isWindowModified());
    EXPECT_EQ(app->Documents().Recent().Files().first(), savePath + QStringLiteral(".zms"));
    // Save of a document with a file asks for nothing.
    savePath.clear();
    EXPECT_TRUE(frame->SaveActive());
    EXPECT_EQ(suggestions.size(), 1);
}

TEST_F(Documents, ExitWithAModifiedDocumentCanBeCancelled) {
    frame->ActiveChild()->Document().SetModifiedFlag();
    sink.Expect(QStringLiteral("Save changes to Test1?"), MsgAnswer::Cancel);
    EXPECT_FALSE(frame->close());
    EXPECT_EQ(frame->Children().size(), 1);
}

TEST(ChildPlacement, ZeroEmptyOrJunkKeepTheDefault) {
    test::TempConfigHome home;
    const QString s = QStringLiteral("INI_SECTION_MDICHILD_X");
    WriteIniString(s, QStringLiteral("INI_KEY_MDICHILD_CX"), QStringLiteral("0"));
    WriteIniString(s, QStringLiteral("INI_KEY_MDICHILD_CY"), QStringLiteral("333"));
    WriteIniString(s, QStringLiteral("INI_KEY_MDICHILD_X"), QStringLiteral("abc"));
    WriteIniString(s, QStringLiteral("INI_KEY_MDICHILD_Y"), QStringLiteral("-20"));
    EXPECT_EQ(ChildGeometry(QRect(5, 6, 700, 500)), QRect(5, -20, 700, 333));
    WriteIniString(s, QStringLiteral("INI_KEY_MDICHILD_CY"), QStringLiteral("-333"));
    EXPECT_EQ(ChildGeometry(QRect(5, 6, 700, 500)).height(), 500);
}

TEST(ChildPlacement, FittingShrinksToTheFormAndNeverEnlarges) {
    const QSize frame(8, 30);
    EXPECT_EQ(FittedWindowSize(QSize(760, 600), frame, QSize(500, 400), 15), QSize(508, 430));
    EXPECT_EQ(FittedWindowSize(QSize(400, 300), frame, QSize(500, 400), 15), QSize(400, 300));
    // Cut short in height, the window scrolls and keeps room for the scroll bar beside the form.
    EXPECT_EQ(FittedWindowSize(QSize(760, 300), frame, QSize(500, 400), 15), QSize(523, 300));
    EXPECT_EQ(FittedWindowSize(QSize(450, 600), frame, QSize(500, 400), 15), QSize(450, 445));
}

TEST_F(Documents, NewWindowFitsItsFormAndAStoredZeroSizeIsNoSize) {
    frame->show();
    CChildFrame* first = frame->ActiveChild();
    ASSERT_NE(first, nullptr);
    QApplication::processEvents();
    // The whole form in sight without scrolling, no empty space around it, and no larger than
    // the default.
    const auto* scroll = qobject_cast<QScrollArea*>(first->widget());
    ASSERT_NE(scroll, nullptr);
    EXPECT_FALSE(scroll->horizontalScrollBar()->isVisible());
    EXPECT_FALSE(scroll->verticalScrollBar()->isVisible());
    EXPECT_LE(scroll->viewport()->width(), first->View()->sizeHint().width());
    EXPECT_LE(first->width(), 760);
    EXPECT_LE(first->height(), 600);

    // A stored width and height of 0 keep the default size, which fits the same form.
    const QString s = QStringLiteral("INI_SECTION_MDICHILD_X");
    WriteIniString(s, QStringLiteral("INI_KEY_MDICHILD_CX"), QStringLiteral("0"));
    WriteIniString(s, QStringLiteral("INI_KEY_MDICHILD_CY"), QStringLiteral("0"));
    CChildFrame* zero = frame->OnFileNew();
    ASSERT_NE(zero, nullptr);
    EXPECT_EQ(zero->size(), first->size());

    // A stored size smaller than the form is kept: fitting never enlarges a window.
    WriteIniString(s, QStringLiteral("INI_KEY_MDICHILD_CX"), QStringLiteral("300"));
    WriteIniString(s, QStringLiteral("INI_KEY_MDICHILD_CY"), QStringLiteral("200"));
    CChildFrame* small = frame->OnFileNew();
    ASSERT_NE(small, nullptr);
    EXPECT_EQ(small->size(), QSize(300, 200));
}

TEST_F(Documents, StoredMaximizeAppliesToTheFirstWindowOfARunOnly) {
    // This run's first window is already open; a new run reads the stored state.
    app.reset();
    StoreWindowState(placement::kMaximize);
    app = MakeApp(1, 5);
    ASSERT_TRUE(app->InitInstance());
    frame = app->MainFrame();
    frame->show();
    CChildFrame* first = frame->ActiveChild();
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->isMaximized());

    first->showNormal();
    EXPECT_EQ(StoredWindowState(), QStringLiteral("RESTORE"));
    StoreWindowState(placement::kMaximize);
    CChildFrame* second = frame->OnFileNew();
    EXPECT_FALSE(second->isMaximized());

    second->showMinimized();
    EXPECT_EQ(StoredWindowState(), QStringLiteral("MINIMIZE"));

    // Closing the program keeps the choice; the next run opens its first window normally.
    frame->SetAskSavePath(nullptr);
    ASSERT_TRUE(frame->close());
    app.reset();
    EXPECT_EQ(StoredWindowState(), QStringLiteral("MINIMIZE"));
    app = MakeApp(1, 5);
    ASSERT_TRUE(app->InitInstance());
    frame = app->MainFrame();
    frame->show();
    ASSERT_NE(frame->ActiveChild(), nullptr);
    EXPECT_FALSE(frame->ActiveChild()->isMinimized());
    EXPECT_FALSE(frame->ActiveChild()->isMaximized());
}

TEST_F(Documents, ArrangingTheWindowsIsNotTheOperatorsChoiceOfState) {
    frame->show();
    CChildFrame* first = frame->ActiveChild();
    first->showMaximized();
    CChildFrame* second = frame->OnFileNew();
    ASSERT_NE(second, nullptr);
    // A maximised window hands its state to the one activated next; the choice stays.
    frame->MdiArea()->setActiveSubWindow(first);
    EXPECT_EQ(StoredWindowState(), QStringLiteral("MAXIMIZE"));
    // Tiling restores the maximised window, cascading a minimised one may move it: neither
    // is the operator minimising, maximising or restoring a window.
    frame->Action("tile")->trigger();
    EXPECT_FALSE(first->isMaximized());
    EXPECT_EQ(StoredWindowState(), QStringLiteral("MAXIMIZE"));
    second->showMinimized();
    frame->Action("cascade")->trigger();
    EXPECT_EQ(StoredWindowState(), QStringLiteral("MINIMIZE"));
    frame->SetAskSavePath(nullptr);
}

TEST_F(Documents, StatusBarAndTitleWithoutInstrument) {
    EXPECT_EQ(frame->ConnectionLabel()->text(), QStringLiteral("No instrument"));
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("ZEB-M40_ZEB-M50 - Test1[*]"));
    // No text field has the focus: nothing to cut, copy or paste.
    for (const char* name : {"cut", "copy", "paste"}) {
        EXPECT_FALSE(frame->Action(name)->isEnabled()) << name;
    }
}

TEST_F(Documents, TheReportCommandsNeedResults) {
    // The active document has no results yet: the commands say so and issue nothing.
    for (const char* name : {"issueReport", "print"}) {
        ASSERT_TRUE(frame->Action(name)->isEnabled()) << name;
        sink.Expect(QStringLiteral("The document has no test results yet. Run the test first."));
        frame->Action(name)->trigger();
    }
    EXPECT_EQ(frame->Action("issueReport")->text(), QStringLiteral("&Issue test report..."));
}

TEST_F(Documents, SetupOffersTheEutMonitorDialog) {
    QAction* action = frame->Action("eutMonitor");
    ASSERT_NE(action, nullptr);
    EXPECT_EQ(action->text(), QStringLiteral("&EUT monitor..."));
    bool inSetup = false;
    for (QAction* menu : frame->menuBar()->actions()) {
        if (menu->text() == QStringLiteral("&Setup") && menu->menu()) {
            inSetup = menu->menu()->actions().contains(action);
        }
    }
    EXPECT_TRUE(inSetup);
    bool opened = false;
    QTimer::singleShot(0, [&] {
        if (auto* dlg = dynamic_cast<CEutMonitorDlg*>(QApplication::activeModalWidget())) {
            opened = true;
            dlg->reject();
        }
    });
    action->trigger();
    EXPECT_TRUE(opened);
}

}  // namespace
}  // namespace zeb

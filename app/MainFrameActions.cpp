// The main window's commands: the action table (caption, status tip, shortcut, picture and what
// each one does), the menus and the tool bar that offer them, and the status bar.

#include <QAction>
#include <QFileDialog>
#include <QIcon>
#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>

#include <algorithm>

#include "AboutDlg.h"
#include "ChildFrame.h"
#include "ChildPlacement.h"
#include "CommLogDock.h"
#include "DocTemplate.h"
#include "EditCommands.h"
#include "EutMonitorDlg.h"
#include "IssueReportDlg.h"
#include "MainFrame.h"
#include "MessageSeam.h"
#include "PropertyDlg.h"
#include "RemoteDlg.h"
#include "SettingsDoc.h"
#include "TestInfoDlg.h"
#include "TestReport.h"
#include "ZebM40SettingsView.h"

namespace zeb {

void CMainFrame::CreateActions() {
    auto make = [this](const char* name, const QString& text, const QString& tip,
                       QKeySequence::StandardKey key, QStyle::StandardPixmap icon,
                       std::function<void()> slot) {
        auto* action = new QAction(text, this);
        action->setObjectName(QLatin1String(name));
        action->setStatusTip(tip);
        if (key != QKeySequence::UnknownKey) {
            action->setShortcuts(key);
        }
        if (icon != QStyle::SP_CustomBase) {
            action->setIcon(style()->standardIcon(icon));
        }
        connect(action, &QAction::triggered, this, [slot] { slot(); });
        return action;
    };
    const auto none = QStyle::SP_CustomBase;
    make("new", QStringLiteral("&New"), QStringLiteral("Create a new document"), QKeySequence::New,
         QStyle::SP_FileIcon, [this] { OnFileNew(); });
    make("newFromStandard", QStringLiteral("New from s&tandard..."),
         QStringLiteral("Create a new document from a test standard"), QKeySequence::UnknownKey,
         QStyle::SP_CustomBase, [this] { OnFileNewFromStandard(); });
    make("open", QStringLiteral("&Open..."), QStringLiteral("Open an existing document"),
         QKeySequence::Open, QStyle::SP_DialogOpenButton, [this] {
             const QString path = m_askOpen ? m_askOpen()
                                            : QFileDialog::getOpenFileName(
                                                  this, QStringLiteral("Open"), QString(),
                                                  QLatin1String(CMyDocTemplate::kFileFilter));
             if (!path.isEmpty()) {
                 OpenFile(path);
             }
         });
    make("close", QStringLiteral("&Close"), QStringLiteral("Close the active document"),
         QKeySequence::Close, none, [this] { CloseActive(); });
    make("save", QStringLiteral("&Save"), QStringLiteral("Save the active document"),
         QKeySequence::Save, QStyle::SP_DialogSaveButton, [this] { SaveActive(); });
    make("saveAs", QStringLiteral("Save &As..."),
         QStringLiteral("Save the active document with a new name"), QKeySequence::SaveAs, none,
         [this] { SaveActiveAs(); });
    make("exit", QStringLiteral("E&xit"), QStringLiteral("Quit the application"),
         QKeySequence::Quit, none, [this] { close(); });
    // Cut, Copy and Paste act on the focused text field; CEditCommands wires them up.
    make("cut", QStringLiteral("Cu&t"), QStringLiteral("Cut the selection to the clipboard"),
         QKeySequence::Cut, none, [] {});
    make("copy", QStringLiteral("&Copy"), QStringLiteral("Copy the selection to the clipboard"),
         QKeySequence::Copy, none, [] {});
    make("paste", QStringLiteral("&Paste"), QStringLiteral("Insert the clipboard contents"),
         QKeySequence::Paste, none, [] {});
    make("issueReport", QStringLiteral("&Issue test report..."),
         QStringLiteral("Preview, sign and save the test report of the active document as PDF"),
         QKeySequence::UnknownKey, none, [this] { IssueReport(false); });
    make("print", QStringLiteral("&Print..."),
         QStringLiteral("Print the test report of the active document"), QKeySequence::Print, none,
         [this] { IssueReport(true); });
    make("options", QStringLiteral("&Options..."),
         QStringLiteral(
             "Edit the lab's name, address, logo and report prefix and the test location"),
         QKeySequence::UnknownKey, none, [this] {
             CPropertyDlg dlg(m_s.property, this);
             dlg.exec();
         });
    make("testInfo", QStringLiteral("&Test environment..."),
         QStringLiteral("Edit the test environment of the report"), QKeySequence::UnknownKey, none,
         [this] {
             CTestInfoDlg dlg(m_s.property, this);
             dlg.exec();
         });
    make("connection", QStringLiteral("&Connection state..."),
         QStringLiteral("Show and renew the connection to the instrument"),
         QKeySequence::UnknownKey, none, [this] {
             CRemoteDlg dlg(m_s.cntl, m_s.machine, this);
             dlg.exec();
             RefreshConnection();
         });
    make("eutMonitor", QStringLiteral("&EUT monitor..."),
         QStringLiteral("Set up the command that judges the EUT after each step"),
         QKeySequence::UnknownKey, none, [this] {
             // The Test button describes the active document's first step, when there is one.
             MonitorRequest sample = CEutMonitorDlg::SampleRequest();
             if (CChildFrame* child = ActiveChild(); child && !child->Document().Steps().empty()) {
                 const CZebM40SettingsDoc& doc = child->Document();
                 sample = MonitorRequestForStep(doc.Steps().front(), 0,
                                                static_cast<int>(doc.Steps().size()),
                                                MonitorPhase::After, doc.PathName());
             }
             CEutMonitorDlg dlg(sample, this);
             dlg.exec();
         });
    make("cascade", QStringLiteral("&Cascade"), QStringLiteral("Arrange windows so they overlap"),
         QKeySequence::UnknownKey, none, [this] {
             const CProgramArrangement arranging;
             m_mdi->cascadeSubWindows();
         });
    make("tile", QStringLiteral("&Tile"),
         QStringLiteral("Arrange windows as non-overlapping tiles"), QKeySequence::UnknownKey, none,
         [this] {
             const CProgramArrangement arranging;
             m_mdi->tileSubWindows();
         });
    make("about", QStringLiteral("&About Remote control software..."),
         QStringLiteral("Display program information and version"), QKeySequence::HelpContents,
         QStyle::SP_MessageBoxInformation, [this] {
             CAboutDlg dlg(this);
             dlg.exec();
         });
    Action("about")->setIconText(QStringLiteral("About"));
    // The desktop style has no pictures for the editing and print commands: ours stand in, so
    // the tool bar reads the same all along.
    for (const char* name : {"cut", "copy", "paste", "print"}) {
        const QString file = QLatin1String(name) == QLatin1String("print")
                                 ? QStringLiteral(":/app/file-print.svg")
                                 : QStringLiteral(":/app/edit-%1.svg").arg(QLatin1String(name));
        Action(name)->setIcon(QIcon(file));
    }
    m_editCommands =
        std::make_unique<CEditCommands>(this, Action("cut"), Action("copy"), Action("paste"));
    for (size_t i = 0; i < m_recentActions.size(); ++i) {
        auto* action = new QAction(this);
        action->setObjectName(QStringLiteral("recent%1").arg(i + 1));
        action->setStatusTip(QStringLiteral("Open this document"));
        connect(action, &QAction::triggered, this,
                [this, action] { OpenRecentFile(action->data().toString()); });
        m_recentActions[i] = action;
    }
}

void CMainFrame::IssueReport(bool print) {
    CChildFrame* child = ActiveChild();
    if (!child) {
        return;
    }
    const CZebM40SettingsDoc& doc = child->Document();
    const bool results = std::any_of(doc.Steps().begin(), doc.Steps().end(),
                                     [](const CExecData& s) { return s.m_nResult != kResultNone; });
    if (!results) {
        ShowMessage(QStringLiteral("The document has no test results yet. Run the test first."),
                    MsgButtons::Ok, MsgIcon::Information);
        return;
    }
    const QString journal = child->View()->LastJournalPath();
    if (print) {
        PrintTestReport(doc, m_s.property, journal, this);
    } else {
        IssueTestReport(doc, m_s.property, journal, nullptr, DefaultReportFolder(), this);
    }
}

void CMainFrame::CreateMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->addAction(Action("new"));
    file->addAction(Action("newFromStandard"));
    file->addAction(Action("open"));
    file->addAction(Action("close"));
    file->addSeparator();
    file->addAction(Action("save"));
    file->addAction(Action("saveAs"));
    file->addSeparator();
    file->addAction(Action("issueReport"));
    file->addAction(Action("print"));
    file->addSeparator();
    for (QAction* action : m_recentActions) {
        file->addAction(action);
    }
    file->addSeparator();
    file->addAction(Action("exit"));
    connect(file, &QMenu::aboutToShow, this, &CMainFrame::UpdateRecentMenu);

    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    edit->addAction(Action("cut"));
    edit->addAction(Action("copy"));
    edit->addAction(Action("paste"));

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    view->setObjectName(QStringLiteral("viewMenu"));

    QMenu* setup = menuBar()->addMenu(QStringLiteral("&Setup"));
    setup->addAction(Action("testInfo"));
    setup->addAction(Action("options"));
    setup->addAction(Action("eutMonitor"));
    setup->addSeparator();
    setup->addAction(Action("connection"));

    m_windowMenu = menuBar()->addMenu(QStringLiteral("&Window"));
    connect(m_windowMenu, &QMenu::aboutToShow, this, &CMainFrame::UpdateWindowMenu);
    UpdateWindowMenu();

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->addAction(Action("about"));
    UpdateRecentMenu();
}

void CMainFrame::CreateBars() {
    QToolBar* tools = addToolBar(QStringLiteral("Tool bar"));
    tools->setObjectName(QStringLiteral("toolBar"));
    tools->setMovable(true);
    tools->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    tools->addAction(Action("new"));
    tools->addAction(Action("open"));
    tools->addAction(Action("save"));
    tools->addSeparator();
    tools->addAction(Action("about"));
    tools->addSeparator();
    tools->addAction(Action("cut"));
    tools->addAction(Action("copy"));
    tools->addAction(Action("paste"));
    tools->addAction(Action("print"));

    m_connection = new QLabel(this);
    m_connection->setAccessibleName(QStringLiteral("Connection"));
    statusBar()->addPermanentWidget(m_connection);
    statusBar()->showMessage(QStringLiteral("Ready"));

    QMenu* view = findChild<QMenu*>(QStringLiteral("viewMenu"));
    QAction* toolToggle = tools->toggleViewAction();
    toolToggle->setText(QStringLiteral("&Tool bar"));
    toolToggle->setStatusTip(QStringLiteral("Show or hide the tool bar"));
    view->addAction(toolToggle);
    auto* statusToggle = new QAction(QStringLiteral("&Status bar"), this);
    statusToggle->setObjectName(QStringLiteral("statusBarToggle"));
    statusToggle->setCheckable(true);
    statusToggle->setChecked(true);
    statusToggle->setStatusTip(QStringLiteral("Show or hide the status bar"));
    connect(statusToggle, &QAction::toggled, statusBar(), &QStatusBar::setVisible);
    view->addAction(statusToggle);
    CreateCommLog(view);
}

void CMainFrame::CreateCommLog(QMenu* view) {
    if (!m_s.exchangeLog) {
        return;
    }
    // Docked below the documents and hidden until a service engineer asks for it.
    auto* dock = new CCommLogDock(*m_s.exchangeLog, this);
    addDockWidget(Qt::BottomDockWidgetArea, dock);
    dock->hide();
    view->addSeparator();
    view->addAction(dock->toggleViewAction());
}

}  // namespace zeb

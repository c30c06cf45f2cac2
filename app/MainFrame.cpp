#include "MainFrame.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>

#include "AboutDlg.h"
#include "ChildFrame.h"
#include "CommLogDock.h"
#include "CommandLine.h"
#include "CurrentMachine.h"
#include "DocManager.h"
#include "DocTemplate.h"
#include "EutMonitorDlg.h"
#include "PropertyDlg.h"
#include "RecentFiles.h"
#include "RemoteDlg.h"
#include "SettingsDoc.h"
#include "TestInfoDlg.h"
#include "ZebM40SettingsView.h"

namespace zeb {

namespace {
// Default size of a document window when the INI file gives none.
constexpr int kChildWidth = 760;
constexpr int kChildHeight = 600;

QList<QString> ZmsFilesOf(const QMimeData* mime) {
    QList<QString> files;
    if (!mime || !mime->hasUrls()) {
        return files;
    }
    for (const QUrl& url : mime->urls()) {
        const QString path = url.toLocalFile();
        if (!path.isEmpty() &&
            path.endsWith(QLatin1String(CMyDocTemplate::kExtension), Qt::CaseInsensitive)) {
            files << path;
        }
    }
    return files;
}
}  // namespace

CMainFrame::CMainFrame(const MainFrameServices& services, QWidget* parent)
    : QMainWindow(parent), m_s(services) {
    setObjectName(QStringLiteral("MainFrame"));
    m_mdi = new QMdiArea(this);
    m_mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->setAccessibleName(QStringLiteral("Documents"));
    setCentralWidget(m_mdi);
    setAcceptDrops(true);
    CreateActions();
    CreateMenus();
    CreateBars();
    connect(m_mdi, &QMdiArea::subWindowActivated, this, [this] {
        UpdateTitles();
        UpdateCommandStates();
    });
    RefreshConnection();
    UpdateTitles();
    UpdateCommandStates();
    resize(1100, 800);
    // A cable pulled during a run closes the port; the status bar follows without asking the
    // instrument anything.
    connect(&m_connectionWatch, &QTimer::timeout, this, &CMainFrame::RefreshConnection);
    m_connectionWatch.start(1000);
}

CMainFrame::~CMainFrame() {
    // The document area and its windows go with the frame: their documents are dropped by their
    // owner, and the frame, half taken down, must not hear of it. The area itself activates its
    // last windows while it closes, so it is disconnected too, and every document window below
    // it, shown or not.
    m_connectionWatch.stop();
    disconnect(m_mdi, nullptr, this, nullptr);
    for (CChildFrame* child : m_mdi->findChildren<CChildFrame*>()) {
        disconnect(child, nullptr, this, nullptr);
    }
}

QAction* CMainFrame::Action(const char* name) const {
    return findChild<QAction*>(QLatin1String(name));
}

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
    make("cut", QStringLiteral("Cu&t"), QStringLiteral("Cut the selection to the clipboard"),
         QKeySequence::Cut, none, [] {
             if (auto* edit = qobject_cast<QLineEdit*>(QApplication::focusWidget())) {
                 edit->cut();
             }
         });
    make("copy", QStringLiteral("&Copy"), QStringLiteral("Copy the selection to the clipboard"),
         QKeySequence::Copy, none, [] {
             if (auto* edit = qobject_cast<QLineEdit*>(QApplication::focusWidget())) {
                 edit->copy();
             }
         });
    make("paste", QStringLiteral("&Paste"), QStringLiteral("Insert the clipboard contents"),
         QKeySequence::Paste, none, [] {
             if (auto* edit = qobject_cast<QLineEdit*>(QApplication::focusWidget())) {
                 edit->paste();
             }
         });
    // Nothing of this program prints; the command is shown so the tool bar looks familiar.
    make("print", QStringLiteral("&Print..."), QStringLiteral("Printing is not available"),
         QKeySequence::Print, none, [] {})
        ->setEnabled(false);
    make("options", QStringLiteral("&Options..."),
         QStringLiteral("Edit the company name and the test location"), QKeySequence::UnknownKey,
         none, [this] {
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
    for (size_t i = 0; i < m_recentActions.size(); ++i) {
        auto* action = new QAction(this);
        action->setObjectName(QStringLiteral("recent%1").arg(i + 1));
        action->setStatusTip(QStringLiteral("Open this document"));
        connect(action, &QAction::triggered, this,
                [this, action] { OpenRecentFile(action->data().toString()); });
        m_recentActions[i] = action;
    }
}

void CMainFrame::CreateMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->addAction(Action("new"));
    file->addAction(Action("open"));
    file->addAction(Action("close"));
    file->addSeparator();
    file->addAction(Action("save"));
    file->addAction(Action("saveAs"));
    file->addSeparator();
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

void CMainFrame::RefreshConnection() {
    m_connection->setText(
        ConnectionStatusText(m_s.cntl, m_s.machine.m_ulCurrentMachineType, m_s.simulated));
}

CChildFrame* CMainFrame::CreateChild(CZebM40SettingsDoc* doc) {
    auto* view = new CZebM40SettingsView(*doc, m_s.cntl, m_s.property, nullptr, &m_s.machine);
    auto* child = new CChildFrame(view);
    child->setWindowIcon(windowIcon());
    m_mdi->addSubWindow(child);
    const int offset = 24 * (m_mdi->subWindowList().size() - 1);
    child->setGeometry(ChildGeometry(QRect(offset, offset, kChildWidth, kChildHeight)));
    child->SetCanClose([this, doc] {
        return m_s.docs.SaveModified(*doc, [this](const QString& s) { return AskSave(s); });
    });
    connect(child, &QObject::destroyed, this, [this, doc] {
        m_s.docs.Close(doc);
        UpdateTitles();
        UpdateCommandStates();
    });
    view->OnInitialUpdate();
    // The operator's last choice of maximised windows is honoured for the first window only.
    if (m_maximizeOnce.ShouldMaximize()) {
        child->showMaximized();
    } else {
        child->show();
    }
    m_mdi->setActiveSubWindow(child);
    UpdateTitles();
    UpdateCommandStates();
    return child;
}

CChildFrame* CMainFrame::OnFileNew() {
    CZebM40SettingsDoc* doc = m_s.docs.NewDocument();
    return doc ? CreateChild(doc) : nullptr;
}

CChildFrame* CMainFrame::OpenFile(const QString& path) {
    bool activated = false;
    CZebM40SettingsDoc* doc = m_s.docs.OpenDocument(path, &activated);
    return ShowOpened(doc, activated);
}

CChildFrame* CMainFrame::OpenRecentFile(const QString& path) {
    bool activated = false;
    CZebM40SettingsDoc* doc = m_s.docs.OpenRecent(path, &activated);
    UpdateRecentMenu();
    return ShowOpened(doc, activated);
}

CChildFrame* CMainFrame::ShowOpened(CZebM40SettingsDoc* doc, bool activated) {
    if (!doc) {
        return nullptr;
    }
    if (activated) {
        CChildFrame* child = ChildOf(doc);
        if (child) {
            m_mdi->setActiveSubWindow(child);
        }
        return child;
    }
    return CreateChild(doc);
}

QString CMainFrame::AskSave(const QString& suggested) {
    if (m_askSave) {
        return m_askSave(suggested);
    }
    return QFileDialog::getSaveFileName(this, QStringLiteral("Save As"), suggested,
                                        QLatin1String(CMyDocTemplate::kFileFilter));
}

bool CMainFrame::SaveActive() {
    return SaveActiveWith(&CDocManager::Save);
}

bool CMainFrame::SaveActiveAs() {
    return SaveActiveWith(&CDocManager::SaveAs);
}

bool CMainFrame::SaveActiveWith(SaveFn save) {
    CChildFrame* child = ActiveChild();
    if (!child) {
        return false;
    }
    const bool saved =
        (m_s.docs.*save)(child->Document(), [this](const QString& s) { return AskSave(s); });
    // A save can give the document a new file name, or fail and leave it modified.
    UpdateTitles();
    return saved;
}

void CMainFrame::CloseActive() {
    if (CChildFrame* child = ActiveChild()) {
        child->close();
    }
}

CChildFrame* CMainFrame::ActiveChild() const {
    return dynamic_cast<CChildFrame*>(m_mdi->activeSubWindow());
}

QList<CChildFrame*> CMainFrame::Children() const {
    QList<CChildFrame*> children;
    for (QMdiSubWindow* w : m_mdi->subWindowList()) {
        if (auto* child = dynamic_cast<CChildFrame*>(w)) {
            children << child;
        }
    }
    return children;
}

CChildFrame* CMainFrame::ChildOf(const CZebM40SettingsDoc* doc) const {
    for (CChildFrame* child : Children()) {
        if (&child->Document() == doc) {
            return child;
        }
    }
    return nullptr;
}

void CMainFrame::UpdateTitles() {
    for (CChildFrame* child : Children()) {
        child->setWindowTitle(m_s.docs.Title(child->Document()));
    }
    QString title = QLatin1String(CMyDocTemplate::kFrameTitle);
    if (m_s.simulated) {
        title += QStringLiteral(" (simulated instrument)");
    }
    if (CChildFrame* active = ActiveChild()) {
        title += QStringLiteral(" - ") + m_s.docs.Title(active->Document());
    }
    setWindowTitle(title);
}

void CMainFrame::UpdateCommandStates() {
    const bool hasDoc = ActiveChild() != nullptr;
    for (const char* name : {"close", "save", "saveAs"}) {
        Action(name)->setEnabled(hasDoc);
    }
}

void CMainFrame::UpdateRecentMenu() {
    const QStringList files = m_s.docs.Recent().Files();
    for (size_t i = 0; i < m_recentActions.size(); ++i) {
        QAction* action = m_recentActions[i];
        const bool used = static_cast<int>(i) < files.size();
        action->setVisible(used);
        if (used) {
            const QString& path = files[static_cast<int>(i)];
            action->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(path).fileName()));
            action->setData(path);
            action->setStatusTip(path);
        }
    }
}

void CMainFrame::UpdateWindowMenu() {
    m_windowMenu->clear();
    m_windowMenu->addAction(Action("cascade"));
    m_windowMenu->addAction(Action("tile"));
    const QList<CChildFrame*> children = Children();
    if (!children.isEmpty()) {
        m_windowMenu->addSeparator();
    }
    int n = 1;
    for (CChildFrame* child : children) {
        QAction* action =
            m_windowMenu->addAction(QStringLiteral("&%1 %2").arg(n++).arg(child->windowTitle()));
        action->setCheckable(true);
        action->setChecked(child == ActiveChild());
        connect(action, &QAction::triggered, this,
                [this, child] { m_mdi->setActiveSubWindow(child); });
    }
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    for (CChildFrame* child : Children()) {
        m_mdi->setActiveSubWindow(child);
        if (!child->close()) {
            event->ignore();
            return;
        }
    }
    event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (!ZmsFilesOf(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    }
}

void CMainFrame::dropEvent(QDropEvent* event) {
    const QList<QString> files = ZmsFilesOf(event->mimeData());
    if (files.isEmpty()) {
        return;
    }
    event->acceptProposedAction();
    activateWindow();
    for (const QString& path : files) {
        OpenFile(path);
    }
}

}  // namespace zeb

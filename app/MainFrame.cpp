#include "MainFrame.h"

#include <QAction>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMimeData>
#include <QPointer>
#include <QStatusBar>

#include "ChildFrame.h"
#include "CommandLine.h"
#include "CurrentMachine.h"
#include "DocManager.h"
#include "DocTemplate.h"
#include "EditCommands.h"
#include "NewFromStandardDlg.h"
#include "ProfileLibrary.h"
#include "RecentFiles.h"
#include "SettingsDoc.h"
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
    doc->SetModifiedListener([frame = QPointer<CMainFrame>(this)] {
        if (frame) {
            frame->UpdateTitles();
        }
    });
    child->SetCanClose([this, doc] {
        return m_s.docs.SaveModified(*doc, [this](const QString& s) { return AskSave(s); });
    });
    connect(child, &QObject::destroyed, this, [this, doc] {
        m_s.docs.Close(doc);
        UpdateTitles();
        UpdateCommandStates();
    });
    view->OnInitialUpdate();
    child->FitToForm();
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

CChildFrame* CMainFrame::OnFileNewFromStandard() {
    CSettingData record;
    StandardRef standard;
    bool chosen = false;
    if (m_askPlan) {
        chosen = m_askPlan(record, standard);
    } else {
        CNewFromStandardDlg dlg(InstalledProfiles(), m_s.machine.m_ulCurrentMachineType,
                                m_s.machine.m_nCurrentHWVersion, this);
        chosen = dlg.exec() == QDialog::Accepted;
        record = dlg.Plan().record;
        standard = dlg.Standard();
    }
    CZebM40SettingsDoc* doc = chosen ? m_s.docs.NewDocumentFrom(record, standard) : nullptr;
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
    // "[*]" shows where Qt puts the modified mark (an asterisk) while the document is modified.
    for (CChildFrame* child : Children()) {
        child->setWindowTitle(m_s.docs.Title(child->Document()) + QStringLiteral("[*]"));
        child->setWindowModified(child->Document().IsModified());
    }
    QString title = QLatin1String(CMyDocTemplate::kFrameTitle);
    if (m_s.simulated) {
        title += QStringLiteral(" (simulated instrument)");
    }
    CChildFrame* active = ActiveChild();
    if (active) {
        title += QStringLiteral(" - ") + m_s.docs.Title(active->Document()) + QStringLiteral("[*]");
    }
    setWindowTitle(title);
    setWindowModified(active && active->Document().IsModified());
}

void CMainFrame::UpdateCommandStates() {
    const bool hasDoc = ActiveChild() != nullptr;
    for (const char* name : {"close", "save", "saveAs", "issueReport", "print"}) {
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
        QAction* action = m_windowMenu->addAction(
            QStringLiteral("&%1 %2").arg(n++).arg(m_s.docs.Title(child->Document())));
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

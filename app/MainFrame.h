#pragma once
// The main window: the document windows in a multi-document area, the tool bar, the status bar
// with the menu hints and the connection, and the menus for documents, editing, the test
// environment, the options, the connection and the window list.

#include <QMainWindow>
#include <QTimer>

#include <array>
#include <functional>
#include <memory>

#include "ChildPlacement.h"

class QAction;
class QLabel;
class QMdiArea;
class QMenu;

namespace zeb {

class CChildFrame;
class CDocManager;
class CEditCommands;
class CSettingData;
class CExchangeLog;
class CTestProperty;
class CZebM40Cntl;
class CZebM40SettingsDoc;
struct CurrentMachine;
struct StandardRef;

// What the main window works with; all owned by the application object.
struct MainFrameServices {
    CDocManager& docs;
    CZebM40Cntl& cntl;
    CTestProperty& property;
    CurrentMachine& machine;
    bool simulated = false;
    // The communication log shown by View > Communication log; no such window without one.
    CExchangeLog* exchangeLog = nullptr;
};

class CMainFrame : public QMainWindow {
public:
    explicit CMainFrame(const MainFrameServices& services, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // Document commands; each returns the document's window or nullptr.
    CChildFrame* OnFileNew();
    // File > "New from standard...": a new document of the plan chosen in the dialog.
    CChildFrame* OnFileNewFromStandard();
    CChildFrame* OpenFile(const QString& path);
    CChildFrame* OpenRecentFile(const QString& path);
    bool SaveActive();
    bool SaveActiveAs();
    // Closes the active document window (asking to save a modified document first).
    void CloseActive();
    // File > "Issue test report..." (print false) and File > Print (print true) on the active
    // document's results.
    void IssueReport(bool print);

    CChildFrame* ActiveChild() const;
    CChildFrame* ChildOf(const CZebM40SettingsDoc* doc) const;
    QList<CChildFrame*> Children() const;
    QMdiArea* MdiArea() const { return m_mdi; }
    QLabel* ConnectionLabel() const { return m_connection; }
    QAction* Action(const char* name) const;

    // Where file names come from; a file dialog unless a test puts its own here.
    void SetAskSavePath(std::function<QString(const QString&)> ask) { m_askSave = std::move(ask); }
    void SetAskOpenPath(std::function<QString()> ask) { m_askOpen = std::move(ask); }
    // Where the plan of "New from standard..." comes from; the dialog unless a test puts its
    // own here. False when the operator cancels.
    using AskPlan = std::function<bool(CSettingData& record, StandardRef& standard)>;
    void SetAskPlan(AskPlan ask) { m_askPlan = std::move(ask); }

    // Reads the connection and the machine type again into the status bar.
    void RefreshConnection();

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // The action table, the menus and the bars (MainFrameActions.cpp).
    void CreateActions();
    void CreateMenus();
    void CreateBars();
    void CreateCommLog(QMenu* view);
    CChildFrame* CreateChild(CZebM40SettingsDoc* doc);
    // The window of a document just opened: the existing one brought forward when the manager
    // handed back a document already open, else a new one; nullptr when none was opened.
    CChildFrame* ShowOpened(CZebM40SettingsDoc* doc, bool activated);
    void UpdateTitles();
    void UpdateRecentMenu();
    void UpdateWindowMenu();
    void UpdateCommandStates();
    QString AskSave(const QString& suggested);
    // Saves the active document with Save or SaveAs of the document manager, then retitles.
    using SaveFn = bool (CDocManager::*)(CZebM40SettingsDoc&,
                                         const std::function<QString(const QString&)>&);
    bool SaveActiveWith(SaveFn save);

    MainFrameServices m_s;
    QMdiArea* m_mdi = nullptr;
    QLabel* m_connection = nullptr;
    QMenu* m_recentMenu = nullptr;
    QMenu* m_windowMenu = nullptr;
    std::array<QAction*, 4> m_recentActions{};
    CMaximizeOnce m_maximizeOnce;
    QTimer m_connectionWatch;
    std::function<QString(const QString&)> m_askSave;
    std::function<QString()> m_askOpen;
    AskPlan m_askPlan;
    std::unique_ptr<CEditCommands> m_editCommands;
};

}  // namespace zeb

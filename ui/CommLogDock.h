#pragma once
// The communication log window of the main window: the exchanges with the instrument in a
// list that keeps the newest in sight unless the operator scrolled up to read older ones, and
// buttons to clear the log and to save it as a text file for a service engineer.

#include <QDockWidget>

#include <functional>

class QLabel;
class QPushButton;
class QTableView;

namespace zeb {

class CCommLogModel;
class CExchangeLog;

class CCommLogDock : public QDockWidget {
public:
    // Shows `log`, which must outlive the window. toggleViewAction() is the checkable
    // "Communication log" command of the View menu.
    explicit CCommLogDock(CExchangeLog& log, QWidget* parent = nullptr);
    ~CCommLogDock() override;

    // Asks for a file name (a file dialog unless a test puts its own here; empty cancels) and
    // writes every kept exchange, one per line. A failure is told to the operator. True when
    // the file was written.
    bool SaveAsText();
    void SetAskSavePath(std::function<QString(const QString&)> ask) { m_askSave = std::move(ask); }

    CCommLogModel& Model() { return *m_model; }
    QTableView* Table() const { return m_table; }
    QPushButton* ClearButton() const { return m_clear; }
    QPushButton* SaveButton() const { return m_save; }
    // True while new exchanges scroll into sight.
    bool FollowsNewest() const { return m_bFollow; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void ApplyColumnWidths();
    void UpdateCount();
    QString AskSave(const QString& suggested);

    CCommLogModel* m_model = nullptr;
    QTableView* m_table = nullptr;
    QLabel* m_count = nullptr;
    QPushButton* m_clear = nullptr;
    QPushButton* m_save = nullptr;
    bool m_bFollow = true;
    std::function<QString(const QString&)> m_askSave;
};

}  // namespace zeb

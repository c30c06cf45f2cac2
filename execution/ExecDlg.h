#pragma once
// The test run dialog: runs a settings document's steps on the instrument, shows the step,
// discharge and countdown figures, the high-voltage lamp and the step list with results and
// comments, and offers the test report when it is closed. It only renders the run session's
// state and forwards clicks and keys; the session puts the run together and decides.

#include <QDialog>
#include <QString>

#include <memory>

#include "RunSession.h"

class QPushButton;

namespace zeb {

class CZebM40SettingsDoc;
class CZebM40Cntl;
class CTestProperty;
class IReportOpener;
class CRunSequencer;
class CRunSession;
class CMonitorGate;
class IEutMonitor;
struct MonitorGateOptions;
struct CExecWidgets;
enum class ExecControl;

class CExecDlg : public QDialog {
public:
    // The caller sets the property's m_tmTestDate and the document's current step first.
    // The settings are the caller's to read (RunSessionSettings::Load for the program's own).
    CExecDlg(CZebM40SettingsDoc& doc, CZebM40Cntl& cntl, CTestProperty& property,
             RunSessionSettings settings, QWidget* parent = nullptr);
    ~CExecDlg() override;

    // Where the test report goes and what opens it (defaults: the Documents report folder and
    // the desktop's spreadsheet program). Tests inject their own.
    void SetReportOpener(IReportOpener* opener);
    void SetReportFolder(const QString& folder);
    // With on, the report step opens the issue window of the signed PDF report after the
    // workbook (the program turns it on; off by default).
    void SetIssueWindow(bool on) { m_issueWindow = on; }
    // Where each opening writes its run journal (default: the program's data folder, runs/).
    void SetJournalFolder(const QString& folder);
    // The journal of the current (or last) opening; empty when none could be made.
    QString JournalPath() const;

    // Runs the dialog modally. A document without steps is refused at once (Rejected) and
    // nothing is sent to the instrument; the caller tells the operator.
    int exec() override;

    // exec() is Begin(), the modal loop and End(); tests drive the parts apart. Begin opens
    // the run (false for an empty step list); End sends the closing commands once.
    bool Begin();
    void End();

    CRunSequencer& Sequencer();
    CRunSession& Session() { return *m_session; }
    // The EUT monitor's gate on this run, or nullptr when the settings set no monitor. Its verdict
    // recorder is free for whoever keeps a record of the run.
    CMonitorGate* MonitorGate();
    // Judges the steps with `monitor` instead of the one the settings set up (nullptr: none).
    void SetEutMonitor(std::unique_ptr<IEutMonitor> monitor, const MonitorGateOptions& options);
    const CExecWidgets& Widgets() const { return *m_w; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Connect();
    void ConnectLineButton(QPushButton* button, void (CRunSequencer::*act)());
    void Render();
    void RequestClose();
    void OpenJudgement(int row);
    void FitColumns();
    QString WriteReport();
    void OnJournalFailed(const QString& text);
    void TellJournalFailure();
    QWidget* WidgetFor(ExecControl control) const;
    ExecControl ControlOf(const QWidget* widget) const;

    CZebM40SettingsDoc& m_doc;
    CTestProperty& m_property;
    IReportOpener* m_opener = nullptr;
    QString m_monitorError;   // why the monitor of the settings cannot be used
    QString m_journalNotice;  // why the journal could not be written
    bool m_journalTold = false;
    std::unique_ptr<IReportOpener> m_desktopOpener;
    std::unique_ptr<CRunSession> m_session;
    std::unique_ptr<CExecWidgets> m_w;  // pointers to child widgets owned through Qt parents
    QMetaObject::Connection m_focusConnection;
    QPushButton* m_lineActed = nullptr;  // the line radio that acted on its own checking
    bool m_rendering = false;
    bool m_closing = false;
    bool m_begun = false;
    bool m_issueWindow = false;
    int m_renderedFocus = 0;
};

}  // namespace zeb

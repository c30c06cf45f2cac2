#pragma once
// "EUT monitor...": the command that judges the EUT after each step (and during it, when
// asked), its time limit and what a FAIL does. Browse... picks the program; the dialog says
// where a bare program name is looked for. Test runs the command once now, without waiting in
// the window, and shows its verdict, the program that ran and its output. OK stores everything
// in ZEB.ini.

#include <QDialog>

#include <functional>
#include <memory>

#include "EutMonitor.h"
#include "EutMonitorRules.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;

namespace zeb {

class CEutMonitorDlg : public QDialog {
public:
    // Makes the monitor the Test button runs (tests put in a scripted one); nullptr with
    // `error` set when the settings give none.
    using MonitorFactory =
        std::function<std::unique_ptr<IEutMonitor>(const EutMonitorSettings&, QString* error)>;

    // Shows the stored settings. `sample`: the step the Test button describes to the command
    // (the current document's first step, when there is one).
    explicit CEutMonitorDlg(const MonitorRequest& sample = SampleRequest(),
                            QWidget* parent = nullptr);
    ~CEutMonitorDlg() override;

    // A step of a default test condition, for a test without a document.
    static MonitorRequest SampleRequest();

    // Asks for the program file, starting in `folder`; empty when the operator cancelled.
    using ProgramChooser = std::function<QString(QWidget* parent, const QString& folder)>;

    void SetMonitorFactory(MonitorFactory factory) { m_factory = std::move(factory); }
    void SetProgramChooser(ProgramChooser chooser) { m_chooser = std::move(chooser); }
    const CEutMonitorRules& Rules() const { return m_rules; }

    QLineEdit* CommandEdit() const { return m_command; }
    QSpinBox* TimeLimitBox() const { return m_timeLimit; }
    QCheckBox* JudgeAfterBox() const { return m_judgeAfter; }
    QCheckBox* CheckDuringBox() const { return m_checkDuring; }
    QSpinBox* EveryBox() const { return m_every; }
    QCheckBox* StopOnFailBox() const { return m_stopOnFail; }
    QPushButton* BrowseButton() const { return m_browse; }
    QPushButton* TestButton() const { return m_test; }
    QPushButton* OkButton() const { return m_ok; }
    QLabel* StatusLabel() const { return m_status; }
    QLabel* ProgramLabel() const { return m_program; }
    QLabel* PlacesLabel() const { return m_places; }
    QPlainTextEdit* OutputBox() const { return m_output; }

    void accept() override;
    void done(int result) override;

private:
    void OnBrowse();
    void OnTest();
    void OnVerdict(const MonitorVerdict& verdict);
    // Shows the rules' state: enabling, the command error, the test status and output.
    void Render();
    // Makes the dialog tall enough for its wrapped texts at its present width.
    void GrowToFit();

    CEutMonitorRules m_rules;
    MonitorRequest m_sample;
    MonitorFactory m_factory;
    ProgramChooser m_chooser;
    std::unique_ptr<IEutMonitor> m_monitor;

    QLineEdit* m_command = nullptr;
    QPushButton* m_browse = nullptr;
    QLabel* m_places = nullptr;
    QLabel* m_commandError = nullptr;
    QSpinBox* m_timeLimit = nullptr;
    QCheckBox* m_judgeAfter = nullptr;
    QCheckBox* m_checkDuring = nullptr;
    QSpinBox* m_every = nullptr;
    QLabel* m_everyUnit = nullptr;
    QCheckBox* m_stopOnFail = nullptr;
    QPushButton* m_test = nullptr;
    QLabel* m_status = nullptr;
    QLabel* m_program = nullptr;
    QPlainTextEdit* m_output = nullptr;
    QPushButton* m_ok = nullptr;
};

}  // namespace zeb

#pragma once
// The one view of a settings document: the test condition as captioned values, its expanded
// steps as a list, and the two commands that act on the document (edit the test condition,
// run the test). It keeps no data of its own; every refresh reads the document again.

#include <QWidget>

#include <array>

#include "SummaryContent.h"

class QLabel;
class QListWidget;
class QPushButton;
class QTableView;

namespace zeb {

class CSummaryStepModel;
class CTestProperty;
class CZebM40Cntl;
class CZebM40SettingsDoc;
struct CurrentMachine;

class CZebM40SettingsView : public QWidget {
public:
    // `machine`: the program's current machine; its hardware version is what the editor offers
    // line configurations for (the instrument's own when none is given).
    CZebM40SettingsView(CZebM40SettingsDoc& doc, CZebM40Cntl& cntl, CTestProperty& property,
                        QWidget* parent = nullptr, const CurrentMachine* machine = nullptr);
    ~CZebM40SettingsView() override;

    // Fills the summary and the step list from the document, row 0 selected.
    void OnInitialUpdate();

    // The form's natural size: wide enough that every column header of the step list shows in
    // full at its share of the list's width.
    QSize sizeHint() const override;

    CZebM40SettingsDoc& Document() { return m_doc; }
    QLabel* ModelLabel() const { return m_model; }
    QLabel* CaptionLabel(int row) const { return m_captions[row]; }
    QLabel* ValueLabel(int row) const { return m_values[row]; }
    QTableView* StepList() const { return m_list; }
    // The "Standard" row and the findings of the plan's check under the summary.
    QLabel* StandardCaption() const { return m_standardCaption; }
    QLabel* StandardValue() const { return m_standardValue; }
    QListWidget* FindingsList() const { return m_findings; }
    QPushButton* SettingsButton() const { return m_settings; }
    QPushButton* ExecuteButton() const { return m_execute; }
    // The journal of the document's last run in this view (empty when none ran), for the
    // issued report.
    const QString& LastJournalPath() const { return m_lastJournal; }

    // The test condition settings command: the editor on a working copy; OK copies it back,
    // expands it again and marks the document modified.
    void OnSettings();
    // The test execution command (see TestExecutionCommand.h).
    void OnExecute();

protected:
    // The three steps of the test execution command, one small function each.
    virtual bool PreChecks();
    virtual bool ShowTestInfo();
    virtual void ShowRunDialog();
    // The editor on `record`; true when it was closed with OK (the record then holds the edit).
    virtual bool EditRecord(class CSettingData& record);

    void resizeEvent(QResizeEvent* event) override;

private:
    void RefreshSummary();
    void RefreshStandard();
    void RefreshSteps();
    void ApplyColumnWidths();
    int ListWidthForHeaders() const;

    CZebM40SettingsDoc& m_doc;
    CZebM40Cntl& m_cntl;
    CTestProperty& m_property;
    const CurrentMachine* m_machine;
    QString m_lastJournal;
    QLabel* m_model = nullptr;
    std::array<QLabel*, kSummaryRowCount> m_captions{};
    std::array<QLabel*, kSummaryRowCount> m_values{};
    QLabel* m_standardCaption = nullptr;
    QLabel* m_standardValue = nullptr;
    QListWidget* m_findings = nullptr;
    QTableView* m_list = nullptr;
    CSummaryStepModel* m_stepModel = nullptr;
    QPushButton* m_settings = nullptr;
    QPushButton* m_execute = nullptr;
};

}  // namespace zeb

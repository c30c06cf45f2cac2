#pragma once
// The issue window of the test report: the pages as they will be issued (a print preview), the
// statement of conformity to edit, who authorises the report (name and function), and Save PDF
// and Print. It renders a CReportIssue and forwards the operator's edits and clicks to it; the
// run dialog's report step and File > "Issue test report..." open it.

#include <QDialog>
#include <QTimer>

#include <memory>

#include "ReportIssue.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPrinter;
class QPrintPreviewWidget;
class QPushButton;

namespace zeb {

class CIssueReportDlg : public QDialog {
public:
    explicit CIssueReportDlg(CReportIssue& issue, QWidget* parent = nullptr);
    ~CIssueReportDlg() override;

    QPlainTextEdit* StatementEdit() const { return m_statement; }
    QLineEdit* NameEdit() const { return m_name; }
    QLineEdit* FunctionEdit() const { return m_function; }
    QPushButton* SaveButton() const { return m_save; }
    QPushButton* PrintButton() const { return m_print; }
    QPrintPreviewWidget* Preview() const { return m_preview; }
    QLabel* NoteLabel() const { return m_note; }

    // Save PDF and Print, as the buttons do (Print asks for the printer first).
    void OnSave();
    void OnPrint();
    // Asks for the printer and prints the report on it; false when cancelled or refused (the
    // operator has been told).
    static bool PrintWithDialog(CReportIssue& issue, QWidget* parent);

private:
    void TakeFields();
    void Render();
    void Tell(const QString& text, bool problem);

    CReportIssue& m_issue;
    std::unique_ptr<QPrinter> m_previewPrinter;
    QPrintPreviewWidget* m_preview = nullptr;
    QPlainTextEdit* m_statement = nullptr;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_function = nullptr;
    QLabel* m_number = nullptr;
    QLabel* m_note = nullptr;
    QPushButton* m_save = nullptr;
    QPushButton* m_print = nullptr;
    QTimer m_redraw;
};

class CZebM40SettingsDoc;
class CTestProperty;
class IRunJournal;
class CRunJournalFile;

// The issue of doc's report, as the windows below use it: built from the run's journal when
// journalPath names one that verifies, else from the document and environment (the operator is
// told why). Each issue is recorded in liveJournal when the run is still writing one, else
// appended to journalPath.
std::unique_ptr<CReportIssue> MakeReportIssue(const CZebM40SettingsDoc& doc,
                                              const CTestProperty& property,
                                              const QString& journalPath, IRunJournal* liveJournal,
                                              const QString& reportFolder);

// Opens the issue window for doc: the report from its run's journal when journalPath names one
// that verifies, else from the document and environment (the operator is told why). The issue
// is recorded in liveJournal when the run is still writing one, else appended to journalPath.
// The PDF goes to reportFolder.
void IssueTestReport(const CZebM40SettingsDoc& doc, const CTestProperty& property,
                     const QString& journalPath, IRunJournal* liveJournal,
                     const QString& reportFolder, QWidget* parent);

// File > Print: the report of doc printed through the same pages, after the printer dialog.
void PrintTestReport(const CZebM40SettingsDoc& doc, const CTestProperty& property,
                     const QString& journalPath, QWidget* parent);

// The same at the end of a run, whose journal (nullptr: none could be made) is still open. A
// journal that missed a line would issue a report without it: the document's own results are
// used then.
void IssueRunReport(const CZebM40SettingsDoc& doc, const CTestProperty& property,
                    CRunJournalFile* journal, const QString& reportFolder, QWidget* parent);

}  // namespace zeb

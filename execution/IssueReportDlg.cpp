#include "IssueReportDlg.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "FileRunJournal.h"
#include "JournalReport.h"
#include "MessageSeam.h"
#include "ReportPages.h"
#include "RunJournalObserver.h"
#include "SettingsDoc.h"
#include "TestProperty.h"
#include "TestReport.h"

namespace zeb {

namespace {

QLabel* Caption(const QString& text, QWidget* field, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setBuddy(field);
    field->setAccessibleName(QString(text).remove(QLatin1Char('&')).remove(QLatin1Char(':')));
    return label;
}

}  // namespace

CIssueReportDlg::CIssueReportDlg(CReportIssue& issue, QWidget* parent)
    : QDialog(parent), m_issue(issue), m_previewPrinter(std::make_unique<QPrinter>()) {
    setWindowTitle(QStringLiteral("Issue test report"));
    PrepareReportDevice(*m_previewPrinter);
    m_preview = new QPrintPreviewWidget(m_previewPrinter.get(), this);
    m_preview->setAccessibleName(QStringLiteral("Report pages"));
    m_preview->setViewMode(QPrintPreviewWidget::SinglePageView);
    m_preview->fitToWidth();
    m_statement = new QPlainTextEdit(issue.Report().statement, this);
    m_statement->setTabChangesFocus(true);
    m_statement->setMaximumHeight(m_statement->fontMetrics().lineSpacing() * 4 + 12);
    m_name = new QLineEdit(issue.Report().authorisedBy, this);
    m_function = new QLineEdit(issue.Report().authorisedFunction, this);
    m_number = new QLabel(this);
    m_note = new QLabel(this);
    m_note->setWordWrap(true);
    m_note->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* form = new QFormLayout;
    form->addRow(Caption(QStringLiteral("&Statement of conformity:"), m_statement, this),
                 m_statement);
    form->addRow(Caption(QStringLiteral("Authorised by, &name:"), m_name, this), m_name);
    form->addRow(Caption(QStringLiteral("&Function:"), m_function, this), m_function);
    auto* numberCaption = new QLabel(QStringLiteral("Report number:"), this);
    m_number->setAccessibleName(QStringLiteral("Report number"));
    form->addRow(numberCaption, m_number);

    m_save = new QPushButton(QStringLiteral("Save &PDF"), this);
    m_print = new QPushButton(QStringLiteral("P&rint..."), this);
    auto* box = new QDialogButtonBox(QDialogButtonBox::Close, this);
    box->addButton(m_save, QDialogButtonBox::ActionRole);
    box->addButton(m_print, QDialogButtonBox::ActionRole);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_preview, 1);
    layout->addLayout(form);
    layout->addWidget(m_note);
    layout->addWidget(box);
    resize(720, 860);

    connect(m_preview, &QPrintPreviewWidget::paintRequested, this, [this](QPrinter* printer) {
        const CReportPages pages(m_issue.Report(), *printer);
        QPainter painter(printer);
        pages.PaintAll(painter, *printer);
        if (!pages.LogoProblem().isEmpty()) {
            Tell(pages.LogoProblem(), true);
        }
    });
    connect(m_statement, &QPlainTextEdit::textChanged, this, [this] { TakeFields(); });
    connect(m_name, &QLineEdit::textChanged, this, [this] { TakeFields(); });
    connect(m_function, &QLineEdit::textChanged, this, [this] { TakeFields(); });
    m_redraw.setSingleShot(true);
    m_redraw.setInterval(300);
    connect(&m_redraw, &QTimer::timeout, m_preview, &QPrintPreviewWidget::updatePreview);
    connect(m_save, &QPushButton::clicked, this, &CIssueReportDlg::OnSave);
    connect(m_print, &QPushButton::clicked, this, &CIssueReportDlg::OnPrint);
    connect(box, &QDialogButtonBox::rejected, this, &CIssueReportDlg::reject);
    Render();
}

CIssueReportDlg::~CIssueReportDlg() = default;

void CIssueReportDlg::TakeFields() {
    m_issue.SetStatement(m_statement->toPlainText());
    m_issue.SetAuthorisedBy(m_name->text().trimmed(), m_function->text().trimmed());
    // The pages follow once typing pauses: a long report takes a moment to draw.
    m_redraw.start();
}

void CIssueReportDlg::Render() {
    const IssuedReport& report = m_issue.Report();
    m_number->setText(
        m_issue.Issued() ? report.reportNumber
        : report.reportNumber.isEmpty()
            ? QStringLiteral("given when the report is issued")
            : QStringLiteral("%1 (given when the report is issued)").arg(report.reportNumber));
    // An issued report keeps its texts: the same number never stands for two versions.
    m_statement->setReadOnly(m_issue.Issued());
    m_name->setReadOnly(m_issue.Issued());
    m_function->setReadOnly(m_issue.Issued());
}

void CIssueReportDlg::Tell(const QString& text, bool problem) {
    m_note->setText(text);
    m_note->setStyleSheet(problem ? QStringLiteral("color: #a00000") : QString());
}

void CIssueReportDlg::OnSave() {
    QString error;
    const bool saved = m_issue.SavePdf(error);
    Render();
    m_preview->updatePreview();
    const QString path = QDir::toNativeSeparators(m_issue.SavedPath());
    if (saved) {
        Tell(QStringLiteral("Report %1 saved as %2").arg(m_issue.Report().reportNumber, path),
             false);
    } else if (!m_issue.SavedPath().isEmpty()) {
        Tell(QStringLiteral("Report saved as %1").arg(path), false);
        ShowMessage(QStringLiteral("The report was saved as %1, but the run journal could not "
                                   "record it.\n%2")
                        .arg(path, error),
                    MsgButtons::Ok, MsgIcon::Warning);
    } else {
        ShowMessage(QStringLiteral("The test report could not be saved.\n%1").arg(error),
                    MsgButtons::Ok, MsgIcon::Error);
    }
    if (!m_issue.LogoProblem().isEmpty()) {
        ShowMessage(m_issue.LogoProblem(), MsgButtons::Ok, MsgIcon::Warning);
    }
}

bool CIssueReportDlg::PrintWithDialog(CReportIssue& issue, QWidget* parent) {
    QPrinter printer(QPrinter::HighResolution);
    PrepareReportDevice(printer);
    QPrintDialog dialog(&printer, parent);
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    QString error;
    const bool printed = issue.Print(printer, error);
    if (!printed) {
        ShowMessage(QStringLiteral("The test report could not be printed.\n%1").arg(error),
                    MsgButtons::Ok, MsgIcon::Error);
    }
    if (!issue.LogoProblem().isEmpty()) {
        ShowMessage(issue.LogoProblem(), MsgButtons::Ok, MsgIcon::Warning);
    }
    return printed;
}

void CIssueReportDlg::OnPrint() {
    if (PrintWithDialog(m_issue, this)) {
        Tell(QStringLiteral("Report %1 printed.").arg(m_issue.Report().reportNumber), false);
    }
    Render();
    m_preview->updatePreview();
}

std::unique_ptr<CReportIssue> MakeReportIssue(const CZebM40SettingsDoc& doc,
                                              const CTestProperty& property,
                                              const QString& journalPath, IRunJournal* liveJournal,
                                              const QString& reportFolder) {
    IssuedReport report;
    QString why;
    const bool fromJournal =
        !journalPath.isEmpty() && IssuedReportFromJournal(journalPath, report, why);
    if (!fromJournal) {
        report = IssuedReportWithoutJournal(property, doc);
        if (!journalPath.isEmpty()) {
            ShowMessage(QStringLiteral("The run journal cannot be used for the report, so the "
                                       "report names no journal.\n%1")
                            .arg(why),
                        MsgButtons::Ok, MsgIcon::Warning);
        }
    }
    auto issue = std::make_unique<CReportIssue>(report, property.m_strReportPrefix, reportFolder,
                                                DocumentTitle(doc));
    if (fromJournal) {
        issue->SetRecorder([journalPath, liveJournal](const QString& pdf, const QByteArray& sha,
                                                      const QString& number, QString& error) {
            CFileRunJournal appended;
            IRunJournal* journal = liveJournal;
            if (!journal) {
                if (!appended.Append(journalPath, error)) {
                    return false;
                }
                journal = &appended;
            }
            const bool ok = JournalIssuedReport(*journal, pdf, sha, number);
            error = ok ? QString() : journal->LastError();
            return ok;
        });
    }
    return issue;
}

void IssueTestReport(const CZebM40SettingsDoc& doc, const CTestProperty& property,
                     const QString& journalPath, IRunJournal* liveJournal,
                     const QString& reportFolder, QWidget* parent) {
    const auto issue = MakeReportIssue(doc, property, journalPath, liveJournal, reportFolder);
    CIssueReportDlg dlg(*issue, parent);
    dlg.exec();
}

void PrintTestReport(const CZebM40SettingsDoc& doc, const CTestProperty& property,
                     const QString& journalPath, QWidget* parent) {
    const auto issue = MakeReportIssue(doc, property, journalPath, nullptr, QString());
    CIssueReportDlg::PrintWithDialog(*issue, parent);
}

void IssueRunReport(const CZebM40SettingsDoc& doc, const CTestProperty& property,
                    CRunJournalFile* journal, const QString& reportFolder, QWidget* parent) {
    const bool whole = journal && !journal->Observer().Failed();
    IssueTestReport(doc, property, whole ? journal->Path() : QString(),
                    whole ? &journal->Observer().Journal() : nullptr, reportFolder, parent);
}

}  // namespace zeb

#pragma once
// Issuing the test report, without its window: the report as it stands (the statement and the
// sign-off as the operator entered them), the number it is expected to get, Save PDF and Print,
// and the record of the issue in the run's journal. Once issued, the report keeps its number
// and its texts: a second Save PDF or Print gives the same report again, never a changed one
// under the same number.

#include <QString>

#include <functional>

#include "IssuedReport.h"

class QPagedPaintDevice;

namespace zeb {

class CReportIssue {
public:
    // prefix: of the report numbers (Options); folder: where Save PDF puts the file.
    CReportIssue(IssuedReport report, QString prefix, QString folder, QString documentTitle);

    // Hears every issue: the PDF's path and SHA-256 (both empty for a print) and the number.
    // False when it could not be recorded; the operator is then told.
    using Recorder = std::function<bool(const QString& pdf, const QByteArray& sha256,
                                        const QString& number, QString& error)>;
    void SetRecorder(Recorder recorder) { m_recorder = std::move(recorder); }

    // The report as the preview shows it: before the issue with the number it will probably
    // get (or none when the counter cannot be read).
    const IssuedReport& Report() const { return m_report; }
    bool Issued() const { return m_issued; }
    // Ignored once the report is issued.
    void SetStatement(const QString& text);
    void SetAuthorisedBy(const QString& name, const QString& function);

    // Save PDF: a new file "<number> <title>.pdf" in the folder (made when missing). False with
    // error when nothing was written.
    bool SavePdf(QString& error);
    // Print: the pages on printer (prepared with PrepareReportDevice).
    bool Print(QPagedPaintDevice& printer, QString& error);
    const QString& SavedPath() const { return m_savedPath; }
    // Why the logo is left out of the last pages drawn (empty when it is not).
    const QString& LogoProblem() const { return m_logoProblem; }

private:
    bool DrawNumber(QString& error);
    bool Record(const QString& pdf, const QByteArray& sha256, QString& error);

    IssuedReport m_report;
    QString m_prefix;
    QString m_folder;
    QString m_title;
    Recorder m_recorder;
    bool m_issued = false;
    QString m_savedPath;
    QString m_logoProblem;
};

}  // namespace zeb

#include "ReportIssue.h"

#include <QDir>
#include <QPagedPaintDevice>
#include <QPainter>

#include "ReportNumber.h"
#include "ReportPages.h"

namespace zeb {

CReportIssue::CReportIssue(IssuedReport report, QString prefix, QString folder,
                           QString documentTitle)
    : m_report(std::move(report)),
      m_prefix(std::move(prefix)),
      m_folder(std::move(folder)),
      m_title(std::move(documentTitle)) {
    QString error;
    m_report.reportNumber = PeekReportNumber(m_prefix, m_report.issueDate, error);
}

void CReportIssue::SetStatement(const QString& text) {
    if (!m_issued) {
        m_report.statement = text;
    }
}

void CReportIssue::SetAuthorisedBy(const QString& name, const QString& function) {
    if (!m_issued) {
        m_report.authorisedBy = name;
        m_report.authorisedFunction = function;
    }
}

bool CReportIssue::DrawNumber(QString& error) {
    if (m_issued) {
        return true;
    }
    const QString number = DrawReportNumber(m_prefix, m_report.issueDate, error);
    if (number.isEmpty()) {
        return false;
    }
    m_report.reportNumber = number;
    m_issued = true;
    return true;
}

bool CReportIssue::Record(const QString& pdf, const QByteArray& sha256, QString& error) {
    return !m_recorder || m_recorder(pdf, sha256, m_report.reportNumber, error);
}

bool CReportIssue::SavePdf(QString& error) {
    if (!QDir().mkpath(m_folder)) {
        error =
            QStringLiteral("Cannot create the folder %1.").arg(QDir::toNativeSeparators(m_folder));
        return false;
    }
    // The number is drawn before the file is written; the name carries it.
    if (!DrawNumber(error)) {
        return false;
    }
    const QString path = IssuedReportPath(m_folder, m_report.reportNumber, m_title);
    QByteArray sha256;
    if (!WriteReportPdf(m_report, path, sha256, error, &m_logoProblem)) {
        return false;
    }
    m_savedPath = path;
    return Record(path, sha256, error);
}

bool CReportIssue::Print(QPagedPaintDevice& printer, QString& error) {
    if (!DrawNumber(error)) {
        return false;
    }
    const CReportPages pages(m_report, printer);
    m_logoProblem = pages.LogoProblem();
    QPainter painter;
    if (!painter.begin(&printer)) {
        error = QStringLiteral("The printer cannot be used.");
        return false;
    }
    pages.PaintAll(painter, printer);
    painter.end();
    return Record(QString(), QByteArray(), error);
}

}  // namespace zeb

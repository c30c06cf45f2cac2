#pragma once
// The issued report's pages, drawn with QPainter on any paged device: a PDF writer, a printer,
// the print preview. The report is laid out once for the device (its page size, resolution and
// fonts), so "Page n of N" is known before the first page is drawn. Every page carries the
// header (logo, lab name and address, report number, "Page n of N"); the body flows over the
// pages, tables repeat their header rows, the results matrix is drawn as rectangles and text,
// and the last page ends with the traceability block and "End of report". Text stays text:
// it can be selected and searched in the PDF, whose fonts are embedded.

#include <QByteArray>
#include <QLocale>
#include <QPageSize>
#include <QString>

#include <memory>

#include "IssuedReport.h"

class QPainter;
class QPagedPaintDevice;
class QPaintDevice;

namespace zeb {

// A4, or Letter where the locale measures in US units.
QPageSize ReportPageSize(const QLocale& locale = QLocale::system());

// Sets the device to the report's paper (ReportPageSize) and margins, portrait.
void PrepareReportDevice(QPagedPaintDevice& device);

class CReportPages {
public:
    // Lays the report out for the pages of device, already prepared with PrepareReportDevice.
    CReportPages(const IssuedReport& report, const QPaintDevice& device);
    ~CReportPages();
    CReportPages(const CReportPages&) = delete;
    CReportPages& operator=(const CReportPages&) = delete;

    int PageCount() const;
    // Draws page (0-based) with painter, which paints on a device like the one laid out for.
    void PaintPage(QPainter& painter, int page) const;
    // Draws every page on the painter's device, starting a new page between them.
    void PaintAll(QPainter& painter, QPagedPaintDevice& device) const;
    // Why the logo is left out ("The logo ... cannot be read"), empty when it is shown or none
    // was set. The report is complete without it.
    QString LogoProblem() const;

private:
    struct Impl;
    std::unique_ptr<Impl> m;
};

// The report as PDF bytes. False with error when nothing could be drawn. logoProblem receives
// CReportPages::LogoProblem.
bool RenderReportPdf(const IssuedReport& report, QByteArray& pdf, QString& error,
                     QString* logoProblem = nullptr);

// Renders the report and writes it to path, a new file: it appears whole or not at all and
// never replaces another. sha256Hex receives the lowercase hex SHA-256 of the written bytes.
bool WriteReportPdf(const IssuedReport& report, const QString& path, QByteArray& sha256Hex,
                    QString& error, QString* logoProblem = nullptr);

// Issues the report as a new PDF at path: draws its number (raising the counter in ZEB.ini, see
// ReportNumber.h) into report.reportNumber, then writes the file. A path that is taken is
// refused before a number is drawn; a number drawn for a file that then could not be written
// is not given again.
bool IssueReportPdf(IssuedReport& report, const QString& prefix, const QString& path,
                    QByteArray& sha256Hex, QString& error, QString* logoProblem = nullptr);

// Where an issued report goes in folder: "<report number> <document title>.pdf", with " (2)",
// " (3)", ... when that name is taken.
QString IssuedReportPath(const QString& folder, const QString& reportNumber,
                         const QString& documentTitle);

}  // namespace zeb

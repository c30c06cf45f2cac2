// Writes the test report of a 1000-step document and prints how long it took:
//   report_ms=<milliseconds for filling the workbook and writing the .xlsx file>
//   report_fill_ms=<of which filling the in-memory workbook>
//   pdf_1000_ms=<milliseconds for the issued report of the same run: its data, its pages laid
//                out and drawn, the PDF written>
//   pdf_1000_pages=<its page count>
// Targets: report_ms under 200, pdf_1000_ms at most 500.
// With a folder as argument the issued report stays there as bench-1000.pdf (for a look at
// its pages).

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <cstdio>

#include "IssuedReport.h"
#include "ReportPages.h"
#include "TestReport.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    zeb::CZebM40SettingsDoc doc;
    doc.OnNewDocument(5, 0);
    zeb::CExecData step = doc.Record().TemplateStep();
    doc.Steps().clear();
    for (int i = 0; i < 1000; ++i) {
        step.m_lVolt = 500 + 100 * (i % 40);
        step.m_nPola = i % 2;
        step.m_nResult = i % 3;
        step.m_strComment = QStringLiteral("comment on step %1").arg(i + 1);
        doc.Steps().push_back(step);
    }
    zeb::CTestProperty property;
    property.m_tmTestDate = 1700000000;

    QTemporaryDir dir;
    if (!dir.isValid()) {
        std::fprintf(stderr, "no temporary folder\n");
        return 1;
    }
    QElapsedTimer fillTimer;
    fillTimer.start();
    zeb::CMsExcelControl xl;
    QString error;
    xl.Open();
    zeb::FillTestReport(xl, property, doc, error);
    const qint64 fillMs = fillTimer.elapsed();

    QElapsedTimer timer;
    timer.start();
    if (!zeb::WriteTestReport(property, doc, dir.filePath("bench.xlsx"), error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    const qint64 reportMs = timer.elapsed();

    // The fonts are loaded once per program, before any report; that is not the report's time.
    {
        QPdfWriter warm(dir.filePath("warm.pdf"));
        zeb::CReportPages pages(zeb::IssuedReport{}, warm);
    }
    const QString pdfFolder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : dir.path();
    const QString pdfPath = pdfFolder + QStringLiteral("/bench-1000.pdf");
    QFile::remove(pdfPath);
    QElapsedTimer pdfTimer;
    pdfTimer.start();
    zeb::IssuedReport issued = zeb::MakeIssuedReport(property, doc);
    issued.reportNumber = QStringLiteral("BENCH-2026-0001");
    QByteArray sha;
    if (!zeb::WriteReportPdf(issued, pdfPath, sha, error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    const qint64 pdfMs = pdfTimer.elapsed();
    QPdfWriter count(dir.filePath("count.pdf"));
    zeb::PrepareReportDevice(count);
    count.setResolution(600);
    const int pages = zeb::CReportPages(issued, count).PageCount();

    std::printf("report_ms=%lld\nreport_fill_ms=%lld\npdf_1000_ms=%lld\npdf_1000_pages=%d\n",
                static_cast<long long>(reportMs), static_cast<long long>(fillMs),
                static_cast<long long>(pdfMs), pages);
    return 0;
}

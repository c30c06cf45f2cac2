// Writes the test report of a 1000-step document and prints how long it took:
//   report_ms=<milliseconds for filling the workbook and writing the .xlsx file>
//   report_fill_ms=<of which filling the in-memory workbook>
// Target: report_ms under 200.

#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>

#include "TestReport.h"

int main() {
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
    std::printf("report_ms=%lld\nreport_fill_ms=%lld\n", static_cast<long long>(timer.elapsed()),
                static_cast<long long>(fillMs));
    return 0;
}

#pragma once
// Inside the issued report's pages: the laid-out report, shared by the files that build its
// sections (ReportPages.cpp) and its tables and header (ReportTables.cpp).

#include <QColor>
#include <QImage>
#include <QSvgRenderer>

#include <memory>

#include "ReportFlow.h"
#include "ReportPages.h"

namespace zeb {

namespace report_colours {
inline const QColor kPass(0xb7, 0xe1, 0xb0);
inline const QColor kFail(0xf2, 0xa0, 0x9a);
inline const QColor kNotTested(0xdc, 0xdc, 0xdc);
inline const QColor kRule(0x60, 0x60, 0x60);
inline const QColor kHeaderFill(0xee, 0xee, 0xee);
}  // namespace report_colours

// "PASS", "FAIL" or "------".
QString ReportResultText(int result);

struct CReportPages::Impl {
    Impl(const IssuedReport& report, const QPaintDevice& device);

    void LoadLogo();
    void Build();
    void Heading(const QString& text);
    void Line(const QString& text, const QFont& font, int alignment = Qt::AlignLeft);
    // Captioned values; together keeps them on one page. The values are in valueFont (default:
    // the body font).
    void Fields(const std::vector<std::pair<QString, QString>>& rows, bool together = false,
                const QFont* valueFont = nullptr);
    void Deviations();
    void Matrix();
    void StepTable();
    void PaintHeader(QPainter& painter, int page) const;

    IssuedReport r;
    FlowStyle s;
    double pageWidth, pageHeight, headerHeight;
    std::unique_ptr<CReportFlow> flow;
    QImage logoImage;
    std::unique_ptr<QSvgRenderer> logoSvg;
    QString logoProblem;
};

}  // namespace zeb

// The drawn parts of the issued report: the results matrix, the step table and the page
// header.

#include <QPainter>

#include <algorithm>

#include "ReportPagesImpl.h"

namespace zeb {

QString ReportResultText(int result) {
    return result == kResultPass   ? QStringLiteral("PASS")
           : result == kResultFail ? QStringLiteral("FAIL")
                                   : QStringLiteral("------");
}

namespace {

const char kNotTestedMark[] = "n/t";

void Cell(QPainter& p, const QRectF& rect, const QColor& fill, const QFont& font,
          const QString& text) {
    p.fillRect(rect, fill);
    p.setPen(QPen(report_colours::kRule, 0));
    p.drawRect(rect);
    p.setPen(Qt::black);
    p.setFont(font);
    p.drawText(rect, Qt::AlignCenter, text);
}

}  // namespace

void CReportPages::Impl::Matrix() {
    const ResultsMatrix& m = r.matrix;
    Line(QStringLiteral("Results matrix"), s.bold);
    if (m.columns.empty()) {
        Line(QStringLiteral("There are no test steps."), s.body);
        return;
    }
    const bool angles =
        std::any_of(m.columns.begin(), m.columns.end(),
                    [](const ResultsMatrix::Column& c) { return !c.angle.isEmpty(); });
    const QFontMetricsF fm(s.small, s.device);
    const double rowHeight = fm.height() + s.Mm(2);
    const double labelWidth =
        std::max(s.Mm(26), fm.horizontalAdvance(QStringLiteral("Angle [deg]")) + s.Mm(3));
    double cellWidth = s.Mm(12);
    for (const ResultsMatrix::Column& c : m.columns) {
        cellWidth = std::max({cellWidth, fm.horizontalAdvance(c.polarity) + s.Mm(2),
                              fm.horizontalAdvance(c.angle) + s.Mm(2)});
    }
    const int columns = static_cast<int>(m.columns.size());
    const int perBlock = std::max(1, static_cast<int>((flow->Width() - labelWidth) / cellWidth));
    const int headerRows = angles ? 3 : 2;
    for (int first = 0; first < columns; first += perBlock) {
        const int last = std::min(columns, first + perBlock);
        if (columns > perBlock) {
            Line(QStringLiteral("Columns %1 to %2 of %3").arg(first + 1).arg(last).arg(columns),
                 s.small);
        }
        flow->BeginTable(headerRows * rowHeight, [=](QPainter& p, const QRectF& rect) {
            const QStringList captions{QStringLiteral("Path"), QStringLiteral("Polarity"),
                                       QStringLiteral("Angle [deg]")};
            for (int row = 0; row < headerRows; ++row) {
                const double y = rect.top() + row * rowHeight;
                Cell(p, QRectF(rect.left(), y, labelWidth, rowHeight), report_colours::kHeaderFill,
                     s.smallBold, captions[row]);
                for (int c = first; c < last; ++c) {
                    const ResultsMatrix::Column& column = m.columns[c];
                    const QString text = row == 0   ? QStringLiteral("P%1").arg(column.path + 1)
                                         : row == 1 ? column.polarity
                                                    : column.angle;
                    Cell(p,
                         QRectF(rect.left() + labelWidth + (c - first) * cellWidth, y, cellWidth,
                                rowHeight),
                         report_colours::kHeaderFill, s.smallBold, text);
                }
            }
        });
        for (int row = 0; row < static_cast<int>(m.voltages.size()); ++row) {
            flow->Add(rowHeight, [=, &m](QPainter& p, const QRectF& rect) {
                Cell(p, QRectF(rect.left(), rect.top(), labelWidth, rowHeight),
                     report_colours::kHeaderFill, s.smallBold,
                     QStringLiteral("%1 kV").arg(m.voltages[row]));
                for (int c = first; c < last; ++c) {
                    const ResultsMatrix::Cell cell = m.At(row, c);
                    Cell(p,
                         QRectF(rect.left() + labelWidth + (c - first) * cellWidth, rect.top(),
                                cellWidth, rowHeight),
                         cell == ResultsMatrix::kPass   ? report_colours::kPass
                         : cell == ResultsMatrix::kFail ? report_colours::kFail
                                                        : report_colours::kNotTested,
                         cell == ResultsMatrix::kFail ? s.smallBold : s.small,
                         cell == ResultsMatrix::kPass   ? QStringLiteral("PASS")
                         : cell == ResultsMatrix::kFail ? QStringLiteral("FAIL")
                                                        : QLatin1String(kNotTestedMark));
                }
            });
        }
        flow->EndTable();
        flow->Space(s.Mm(2));
    }
    Line(QStringLiteral("A row per test voltage, a column per path, polarity and phase angle. "
                        "PASS (green): every step of the cell passed. FAIL (red): a step of the "
                        "cell failed. %1 (grey): not tested, or a step of the cell was not judged.")
             .arg(QLatin1String(kNotTestedMark)),
         s.small);
    for (int path = 0; path < static_cast<int>(m.paths.size()); ++path) {
        Line(QStringLiteral("P%1: %2").arg(path + 1).arg(m.paths[path]), s.small);
    }
}

void CReportPages::Impl::StepTable() {
    Line(QStringLiteral("Test steps"), s.bold, Qt::AlignLeft);
    const int n = static_cast<int>(r.stepHeaders.size());
    if (n == 0) {
        return;
    }
    const QFontMetricsF fm(s.small, s.device);
    const QFontMetricsF fmBold(s.smallBold, s.device);
    const double pad = s.Mm(1.2);
    std::vector<double> widths(n, 0);
    for (int c = 0; c < n; ++c) {
        widths[c] = fmBold.horizontalAdvance(r.stepHeaders[c]);
    }
    for (const QStringList& row : r.stepRows) {
        for (int c = 0; c < n && c < row.size(); ++c) {
            widths[c] = std::max(widths[c], std::min(fm.horizontalAdvance(row[c]), s.Mm(60)));
        }
    }
    double total = 0;
    for (double& w : widths) {
        w += 2 * pad;
        total += w;
    }
    // The last column (the comment) takes the rest of the width; when the others leave it too
    // little, every column shrinks alike.
    const double room = flow->Width() - (total - widths[n - 1]);
    if (room >= s.Mm(30)) {
        widths[n - 1] = room;
    } else {
        for (double& w : widths) {
            w *= flow->Width() / total;
        }
    }
    std::vector<double> xs(n, 0);
    for (int c = 1; c < n; ++c) {
        xs[c] = xs[c - 1] + widths[c - 1];
    }
    const int last = n - 1;
    auto alignment = [last](int c) { return c == last ? Qt::AlignLeft : Qt::AlignHCenter; };

    double headerHeight = 0;
    for (int c = 0; c < n; ++c) {
        headerHeight = std::max(
            headerHeight, WrappedHeight(s, s.smallBold, r.stepHeaders[c], widths[c] - 2 * pad));
    }
    headerHeight += 2 * pad;
    flow->BeginTable(headerHeight, [=](QPainter& p, const QRectF& rect) {
        p.fillRect(rect, report_colours::kHeaderFill);
        p.setPen(Qt::black);
        for (int c = 0; c < n; ++c) {
            DrawWrapped(p, s.smallBold,
                        QRectF(rect.left() + xs[c] + pad, rect.top() + pad, widths[c] - 2 * pad,
                               rect.height() - 2 * pad),
                        r.stepHeaders[c], alignment(c) | Qt::AlignTop);
        }
    });
    for (size_t i = 0; i < r.stepRows.size(); ++i) {
        const QStringList& row = r.stepRows[i];
        double height = 0;
        for (int c = 0; c < n && c < row.size(); ++c) {
            height = std::max(height, WrappedHeight(s, s.small, row[c], widths[c] - 2 * pad));
        }
        height += 2 * pad;
        const bool failed = i < r.stepResults.size() && r.stepResults[i] == kResultFail;
        flow->Add(height, [=, &row](QPainter& p, const QRectF& rect) {
            p.setPen(Qt::black);
            for (int c = 0; c < n && c < row.size(); ++c) {
                DrawWrapped(p, failed && c == last - 1 ? s.smallBold : s.small,
                            QRectF(rect.left() + xs[c] + pad, rect.top() + pad, widths[c] - 2 * pad,
                                   rect.height() - 2 * pad),
                            row[c], alignment(c) | Qt::AlignTop);
            }
            p.setPen(QPen(report_colours::kNotTested, 0));
            p.drawLine(rect.bottomLeft(), rect.bottomRight());
        });
    }
    flow->EndTable();
}

void CReportPages::Impl::PaintHeader(QPainter& p, int page) const {
    double x = 0;
    const double logoHeight = s.Mm(16);
    const double logoWidth = s.Mm(36);
    if (logoSvg || !logoImage.isNull()) {
        QSizeF size = logoSvg ? QSizeF(logoSvg->defaultSize()) : QSizeF(logoImage.size());
        size.scale(logoWidth, logoHeight, Qt::KeepAspectRatio);
        const QRectF target(0, 0, size.width(), size.height());
        if (logoSvg) {
            logoSvg->render(&p, target);
        } else {
            p.drawImage(target, logoImage);
        }
        x = size.width() + s.Mm(4);
    }
    const double rightWidth = s.Mm(58);
    const double textWidth = pageWidth - x - rightWidth - s.Mm(3);
    p.setPen(Qt::black);
    p.save();
    p.setClipRect(QRectF(x, 0, textWidth, headerHeight));
    const double nameHeight = WrappedHeight(s, s.bold, r.labName, textWidth);
    DrawWrapped(p, s.bold, QRectF(x, 0, textWidth, nameHeight), r.labName);
    DrawWrapped(p, s.small, QRectF(x, nameHeight, textWidth, headerHeight - nameHeight),
                r.labAddress);
    p.restore();
    const QRectF right(pageWidth - rightWidth, 0, rightWidth, headerHeight);
    DrawWrapped(p, s.smallBold, right,
                QStringLiteral("%1\nReport %2\nPage %3 of %4")
                    .arg(QLatin1String(kIssuedReportTitle), r.reportNumber)
                    .arg(page + 1)
                    .arg(flow->PageCount()),
                Qt::AlignRight | Qt::AlignTop);
    p.setPen(QPen(report_colours::kRule, s.Mm(0.3)));
    p.drawLine(QPointF(0, headerHeight), QPointF(pageWidth, headerHeight));
}

}  // namespace zeb

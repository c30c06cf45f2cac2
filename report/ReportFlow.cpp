#include "ReportFlow.h"

#include <QPaintDevice>
#include <QPainter>
#include <QRegularExpression>

#include <algorithm>

namespace zeb {

namespace {

QFont MakeFont(const char* family, double points, bool bold) {
    QFont font{QString::fromLatin1(family)};
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    // Unhinted glyph widths scale with the resolution, so a preview and the PDF break lines
    // alike.
    font.setHintingPreference(QFont::PreferNoHinting);
    // No ligatures: "fi" stays two letters, so the PDF's text reads and searches as written.
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

}  // namespace

FlowStyle::FlowStyle(const QPaintDevice& d)
    : dpi(d.logicalDpiY()),
      body(MakeFont("DejaVu Sans", 9, false)),
      bold(MakeFont("DejaVu Sans", 9, true)),
      small(MakeFont("DejaVu Sans", 7.5, false)),
      smallBold(MakeFont("DejaVu Sans", 7.5, true)),
      heading(MakeFont("DejaVu Sans", 11, true)),
      title(MakeFont("DejaVu Sans", 16, true)),
      mono(MakeFont("DejaVu Sans Mono", 7.5, false)),
      device(&d) {
    mono.setStyleHint(QFont::Monospace);
}

double WrappedHeight(const FlowStyle& style, const QFont& font, const QString& text, double width,
                     int* flags) {
    const QFontMetricsF fm(font, style.device);
    int f = Qt::TextWordWrap;
    // Most texts of a report are short: one line, measured without a layout.
    if (!text.contains(QLatin1Char('\n')) && fm.horizontalAdvance(text) <= width) {
        if (flags) {
            *flags = f;
        }
        return fm.height();
    }
    for (const QString& word : text.split(QRegularExpression(QStringLiteral("\\s+")))) {
        if (fm.horizontalAdvance(word) > width) {
            f = Qt::TextWrapAnywhere;
            break;
        }
    }
    if (flags) {
        *flags = f;
    }
    return std::max(fm.height(), fm.boundingRect(QRectF(0, 0, width, 1e9), f, text).height());
}

void DrawWrapped(QPainter& painter, const QFont& font, const QRectF& rect, const QString& text,
                 int alignment) {
    painter.setFont(font);
    const QFontMetricsF fm(font, painter.device());
    int flags = Qt::TextWordWrap;
    if (text.contains(QLatin1Char('\n')) || fm.horizontalAdvance(text) > rect.width()) {
        for (const QString& word : text.split(QRegularExpression(QStringLiteral("\\s+")))) {
            if (fm.horizontalAdvance(word) > rect.width()) {
                flags = Qt::TextWrapAnywhere;
                break;
            }
        }
    }
    painter.drawText(rect, flags | alignment, text);
}

CReportFlow::CReportFlow(double bodyTop, double bodyBottom, double bodyLeft, double bodyWidth)
    : m_top(bodyTop), m_bottom(bodyBottom), m_left(bodyLeft), m_width(bodyWidth) {}

void CReportFlow::Add(double height, PaintFn paint, bool keepWithNext) {
    m_pieces.push_back({height, std::move(paint), keepWithNext, m_openTable, false});
}

void CReportFlow::BeginTable(double headerHeight, PaintFn paintHeader) {
    m_openTable = static_cast<int>(m_pieces.size());
    m_pieces.push_back({headerHeight, std::move(paintHeader), true, m_openTable, true});
}

void CReportFlow::EndTable() {
    m_openTable = -1;
}

void CReportFlow::Space(double height) {
    m_pieces.push_back({height, {}, false, -1, false});
}

int CReportFlow::Paginate() {
    m_pages.assign(1, {});
    double y = m_top;
    const int n = static_cast<int>(m_pieces.size());
    for (int i = 0; i < n; ++i) {
        const Piece& piece = m_pieces[i];
        // A heading or a table header goes with the next piece (at most a few in a row).
        double need = piece.height;
        for (int j = i; j + 1 < n && m_pieces[j].keepWithNext && j < i + 3; ++j) {
            need += m_pieces[j + 1].height;
        }
        const bool pageHasContent = !m_pages.back().empty();
        if (y + need > m_bottom && pageHasContent) {
            m_pages.emplace_back();
            y = m_top;
            // Space at the top of a page is dropped; rows of a table get its header again.
            if (!piece.paint) {
                continue;
            }
            if (piece.table >= 0 && !piece.isHeader) {
                m_pages.back().push_back({piece.table, y});
                y += m_pieces[piece.table].height;
            }
        }
        m_pages.back().push_back({i, y});
        y += piece.height;
    }
    return PageCount();
}

void CReportFlow::PaintPage(QPainter& painter, int page) const {
    if (page < 0 || page >= PageCount()) {
        return;
    }
    for (const Placed& placed : m_pages[page]) {
        const Piece& piece = m_pieces[placed.piece];
        if (piece.paint) {
            piece.paint(painter, QRectF(m_left, placed.y, m_width, piece.height));
        }
    }
}

}  // namespace zeb

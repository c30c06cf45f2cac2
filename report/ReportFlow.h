#pragma once
// The page flow under the issued report: unbreakable pieces of known height placed one below
// the other, a new page when the next one does not fit, headings kept with what follows them,
// and a table's header piece repeated at the top of every page the table continues on. Sizes
// are device pixels of the device the flow was measured for.

#include <QFont>
#include <QFontMetricsF>
#include <QRectF>
#include <QString>

#include <functional>
#include <vector>

class QPainter;
class QPaintDevice;

namespace zeb {

// Fonts and measures of one device.
struct FlowStyle {
    explicit FlowStyle(const QPaintDevice& device);
    double Mm(double mm) const { return mm * dpi / 25.4; }

    double dpi = 72;
    QFont body, bold, small, smallBold, heading, title, mono;
    const QPaintDevice* device = nullptr;
};

// Height of text wrapped into width with font (at least one line), and the flags that
// DrawWrapped must use for it: words wrap, a word wider than the width breaks anywhere.
double WrappedHeight(const FlowStyle& style, const QFont& font, const QString& text, double width,
                     int* flags = nullptr);
void DrawWrapped(QPainter& painter, const QFont& font, const QRectF& rect, const QString& text,
                 int alignment = Qt::AlignLeft | Qt::AlignTop);

class CReportFlow {
public:
    // paint draws the piece in its rectangle (the body's width, the piece's height).
    using PaintFn = std::function<void(QPainter&, const QRectF&)>;

    CReportFlow(double bodyTop, double bodyBottom, double bodyLeft, double bodyWidth);

    double Width() const { return m_width; }
    // Adds a piece. keepWithNext moves it to the next page together with the piece after it.
    void Add(double height, PaintFn paint, bool keepWithNext = false);
    // A table's header: added like a piece, and repeated above the table's rows on every page
    // the following rows continue on, until EndTable.
    void BeginTable(double headerHeight, PaintFn paintHeader);
    void EndTable();
    // Empty room between pieces; dropped where it would open a page.
    void Space(double height);

    // Places the pieces on pages; returns the page count (at least 1).
    int Paginate();
    int PageCount() const { return static_cast<int>(m_pages.size()); }
    void PaintPage(QPainter& painter, int page) const;

private:
    struct Piece {
        double height = 0;
        PaintFn paint;
        bool keepWithNext = false;
        int table = -1;  // index of the header piece of the table this piece belongs to
        bool isHeader = false;
    };
    struct Placed {
        int piece;
        double y;
    };

    double m_top, m_bottom, m_left, m_width;
    std::vector<Piece> m_pieces;
    std::vector<std::vector<Placed>> m_pages;
    int m_openTable = -1;
};

}  // namespace zeb

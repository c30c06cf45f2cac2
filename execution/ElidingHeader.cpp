#include "ElidingHeader.h"

#include <QStyle>
#include <QStyleOptionHeader>

#include <algorithm>

namespace zeb {

CElidingHeader::CElidingHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {
    setTextElideMode(Qt::ElideRight);
}

CElidingHeader::Shown CElidingHeader::ShownCaption(const QString& caption, Qt::Alignment alignment,
                                                   int width) const {
    // The style keeps a margin on both sides of the caption; one pixel more for rounding.
    const int room = width - 2 * style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, this) - 1;
    if (fontMetrics().horizontalAdvance(caption) <= room) {
        return {caption, alignment};
    }
    const Qt::Alignment vertical = alignment & Qt::AlignVertical_Mask;
    return {fontMetrics().elidedText(caption, Qt::ElideRight, std::max(0, room)),
            Qt::AlignLeft | (vertical ? vertical : Qt::AlignVCenter)};
}

void CElidingHeader::initStyleOptionForIndex(QStyleOptionHeader* option, int logicalIndex) const {
    QHeaderView::initStyleOptionForIndex(option, logicalIndex);
    const Shown shown =
        ShownCaption(option->text, option->textAlignment, sectionSize(logicalIndex));
    option->text = shown.text;
    option->textAlignment = shown.alignment;
}

}  // namespace zeb

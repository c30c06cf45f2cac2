#pragma once
// The column headers of the step lists. A header keeps its column's alignment while its caption
// fits; in a window too narrow for it, the caption starts at the left and is shortened at its
// end ("Angle [d…"), never cut off at its beginning ("ngle [deg]").

#include <QHeaderView>

namespace zeb {

class CElidingHeader : public QHeaderView {
public:
    explicit CElidingHeader(QWidget* parent = nullptr);

    // The caption as the header shows it in `width` pixels of section, and where it stands.
    struct Shown {
        QString text;
        Qt::Alignment alignment;
    };
    Shown ShownCaption(const QString& caption, Qt::Alignment alignment, int width) const;

protected:
    void initStyleOptionForIndex(QStyleOptionHeader* option, int logicalIndex) const override;
};

}  // namespace zeb

#pragma once
// The SURGE OUTPUT page: the generator's own output terminals (HOT against COM); only the
// waveform is a choice.

#include "SetOutputPage.h"

class QLabel;

namespace zeb {

class CSetOutputEnclosureDlg : public CSetOutputPage {
    Q_OBJECT
public:
    explicit CSetOutputEnclosureDlg(QWidget* parent = nullptr);
    void Render(const OutputPageView& view) override;

private:
    QLabel* m_detailText;
};

}  // namespace zeb

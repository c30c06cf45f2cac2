#pragma once
// The SURGE OUTPUT page: the generator's own output terminals (HOT against COM); only the
// waveform is a choice.

#include "SetOutputPage.h"

namespace zeb {

class CSetOutputEnclosureDlg : public CSetOutputPage {
    Q_OBJECT
public:
    explicit CSetOutputEnclosureDlg(CSettingData& record, QWidget* parent = nullptr);
    void OnBeingShown() override;
};

}  // namespace zeb

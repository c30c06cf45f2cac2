#pragma once
// The DC LINE OUTPUT page: waveform, ring-wave impedance, line configuration, coupling and the
// four injection-return line boxes.

#include "SetOutputPage.h"

namespace zeb {

class CSetOutputDcDlg : public CSetOutputPage {
    Q_OBJECT
public:
    explicit CSetOutputDcDlg(CSettingData& record, QWidget* parent = nullptr);
    void OnBeingShown() override;

protected:
    QString LineLabel(int bit, int32_t detail) const override;

private:
    void OnDetailChanged();
};

}  // namespace zeb

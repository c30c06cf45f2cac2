#pragma once
// The DC LINE OUTPUT page: waveform, ring-wave impedance, line configuration, coupling and the
// four injection-return line boxes.

#include "SetOutputPage.h"

namespace zeb {

class CSetOutputDcDlg : public CSetOutputPage {
    Q_OBJECT
public:
    explicit CSetOutputDcDlg(QWidget* parent = nullptr);
};

}  // namespace zeb

#pragma once
// The TELECOM LINE OUTPUT pages: the generator's own telecom output (waveform, two or four
// lines, limiting resistor, return line boxes), the external telecom coupling unit (no line
// boxes: the stored lines are used) and the edition-3 generator (waveform and lines only).

#include "SetOutputPage.h"

namespace zeb {

class CSetOutputTelDlg : public CSetOutputPage {
    Q_OBJECT
public:
    explicit CSetOutputTelDlg(QWidget* parent = nullptr);
};

class CSetOutputTel41x0Dlg : public CSetOutputPage {
    Q_OBJECT
public:
    explicit CSetOutputTel41x0Dlg(QWidget* parent = nullptr);
};

class CSetOutputTelEd3Dlg : public CSetOutputPage {
    Q_OBJECT
public:
    explicit CSetOutputTelEd3Dlg(QWidget* parent = nullptr);
};

}  // namespace zeb

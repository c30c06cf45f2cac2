#pragma once
// The AC LINE OUTPUT page: waveform, ring-wave impedance, line configuration, coupling, the
// twenty injection-return line boxes, and the phase synchronisation with its angle panel.

#include "SetOutputPage.h"

class QRadioButton;

namespace zeb {

class CValueDlg;

class CSetOutputAcDlg : public CSetOutputPage {
    Q_OBJECT
public:
    explicit CSetOutputAcDlg(QWidget* parent = nullptr);

    void Render(const OutputPageView& view) override;

    QRadioButton* SyncRadio() const { return m_sync; }
    QRadioButton* AsyncRadio() const { return m_async; }
    CValueDlg* AnglePanel() const { return m_angle; }

private:
    QRadioButton* m_sync;
    QRadioButton* m_async;
    CValueDlg* m_angle = nullptr;
};

}  // namespace zeb

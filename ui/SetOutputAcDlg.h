#pragma once
// The AC LINE OUTPUT page: waveform, ring-wave impedance, line configuration, coupling, the
// twenty injection-return line boxes, and the phase synchronisation with its angle set.

#include "SetOutputPage.h"

class QRadioButton;

namespace zeb {

class CValueDlg;

class CSetOutputAcDlg : public CSetOutputPage {
    Q_OBJECT
public:
    // `instrumentHWVersion`: the hardware version the connected instrument reported; a
    // three-phase machine with newer hardware offers one more line configuration.
    CSetOutputAcDlg(CSettingData& record, int instrumentHWVersion, QWidget* parent = nullptr);

    void OnBeingShown() override;

    QRadioButton* SyncRadio() const { return m_sync; }
    QRadioButton* AsyncRadio() const { return m_async; }
    CValueDlg* AnglePanel() const { return m_angle; }

protected:
    QString LineLabel(int bit, int32_t detail) const override;

private:
    void OnDetailChanged();
    void SetSync(bool on);

    QRadioButton* m_sync;
    QRadioButton* m_async;
    CValueDlg* m_angle;
};

}  // namespace zeb

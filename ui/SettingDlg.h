#pragma once
// The test condition editor: polarity, discharge count, interval, the voltage set and the output
// port with the page of that port. It edits a working copy of a record; the caller takes the
// copy back with Record() only when exec() returned QDialog::Accepted.

#include <QDialog>

#include "SettingData.h"

namespace zeb {

class CSettingDlg : public QDialog {
    Q_OBJECT
public:
    // `instrumentHWVersion` is the hardware version the connected instrument reported (0 when
    // none is connected); the AC page offers the newer line configurations with it.
    explicit CSettingDlg(const CSettingData& record, QWidget* parent = nullptr,
                         int instrumentHWVersion = 0);
    ~CSettingDlg() override;

    // The edited working copy.
    const CSettingData& Record() const { return m_record; }

private:
    CSettingData m_record;
};

}  // namespace zeb

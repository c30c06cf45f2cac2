#pragma once
// The test condition editor: polarity, discharge count, interval, the voltage set and the output
// port with the page of that port. It edits a working copy of a record; the caller takes the
// copy back with Record() only when exec() returned QDialog::Accepted. OK is refused, with the
// reasons shown to the operator, while the copy would not make a sensible list of test steps.

#include <QDialog>

#include <array>

#include "SettingData.h"
#include "SettingRules.h"

class QButtonGroup;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace zeb {

class CSetOutputPage;
class CValueDlg;
class CValueEdit;

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

    // Runs the checks; closes with OK only when they pass.
    void accept() override;

    // Controls, for tests.
    QComboBox* PortCombo() const { return m_port; }
    CValueEdit* CountField() const { return m_count; }
    CValueEdit* IntervalField() const { return m_interval; }
    CValueDlg* VoltagePanel() const { return m_voltage; }
    QRadioButton* PolarityRadio(int index) const { return m_polarity[index]; }
    QLabel* IntervalNote(int index) const { return m_notes[index]; }
    QPushButton* OkButton() const { return m_ok; }
    CSetOutputPage* Page(OutputPage page) const;
    // The output page now shown, OutputPage::None when none is.
    OutputPage VisiblePage() const;

private:
    void OnPortSelected();
    // An output page changed a value that moves the interval minimum or the step count.
    void OnSettingChanged();
    void ShowOutputPage(OutputPage page);
    void ShowCount();
    void ShowInterval();
    QWidget* BuildPortArea(int instrumentHWVersion);

    CSettingData m_record;
    std::array<QRadioButton*, 3> m_polarity{};
    QButtonGroup* m_polarityGroup = nullptr;
    CValueEdit* m_count = nullptr;
    CValueEdit* m_interval = nullptr;
    CValueDlg* m_voltage = nullptr;
    std::array<QLabel*, 2> m_notes{};
    QComboBox* m_port = nullptr;
    std::array<CSetOutputPage*, 7> m_pages{};  // indexed by OutputPage
    QPushButton* m_ok = nullptr;
};

}  // namespace zeb

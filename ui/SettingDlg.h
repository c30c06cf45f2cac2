#pragma once
// The test condition editor: polarity, discharge count, interval, the voltage set and the output
// port with the page of that port. It edits a working copy of a record, held in an EditorState;
// every control sends an intent, the state applies it (EditorState.h) and the editor renders the
// projection (EditorView.h). The caller takes the copy back with Record() only when exec()
// returned QDialog::Accepted. OK is refused, with the reasons shown to the operator, while the
// copy would not make a sensible list of test steps.

#include <QDialog>

#include <array>

#include "EditorView.h"

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
    const CSettingData& Record() const { return m_state.record; }
    const EditorState& State() const { return m_state; }

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
    void Send(const Intent& intent);
    void Render();
    void ShowOutputPage(OutputPage page);
    QWidget* BuildPortArea();

    EditorState m_state;
    std::array<QRadioButton*, 3> m_polarity{};
    QButtonGroup* m_polarityGroup = nullptr;
    CValueEdit* m_count = nullptr;
    CValueEdit* m_interval = nullptr;
    CValueDlg* m_voltage = nullptr;
    std::array<QLabel*, 2> m_notes{};
    QComboBox* m_port = nullptr;
    std::array<CSetOutputPage*, kOutputPageCount> m_pages{};  // indexed by OutputPage
    QPushButton* m_ok = nullptr;
    // The context of every control's connection. Declared last, it goes first, and with it the
    // connections: a field that loses the focus while the dialog is taken down reports to no one.
    QObject m_intents;
};

}  // namespace zeb

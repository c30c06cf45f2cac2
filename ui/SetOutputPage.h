#pragma once
// What the six output pages share: the working record and the page's port, combo boxes that
// carry codes, the waveform with the minimum-interval rule and the ring-wave impedance, and the
// injection-return line boxes of the current line configuration. A page writes every choice into
// its port's slot at once and tells the editor with SettingChanged(), which the editor receives
// queued, after the page has finished its own work.

#include <QWidget>

#include <optional>
#include <vector>

#include "EditorChoices.h"
#include "SettingData.h"

class QCheckBox;
class QComboBox;
class QFormLayout;
class QLabel;

namespace zeb {

class CSetOutputPage : public QWidget {
    Q_OBJECT
public:
    CSetOutputPage(CSettingData& record, int32_t port, QWidget* parent);

    // Called by the editor each time it shows the page: the shown choices are stored again,
    // so the record follows what the operator sees.
    virtual void OnBeingShown() {}

    // Controls, for tests and accessibility checks; nullptr where a page has none.
    QComboBox* WaveformCombo() const { return m_waveform; }
    QLabel* WaveformText() const { return m_waveformText; }
    QComboBox* RingCombo() const { return m_ring; }
    QComboBox* DetailCombo() const { return m_detail; }
    QComboBox* CouplingCombo() const { return m_coupling; }
    QCheckBox* LineBox(int bit) const;

    // Code of the combo's selected item; nothing while it has no selection.
    static std::optional<int32_t> CurrentCode(const QComboBox* combo);

signals:
    // A value changed that can move the interval minimum or the number of steps.
    void SettingChanged();

protected:
    OUTPUT_PORT& Slot() { return m_record.m_outOutput.m_aopOutputPort[m_port]; }
    // A combo filled with `choices`, showing `code` (the first item when no item has it).
    QComboBox* MakeCombo(const ChoiceList& choices, int32_t code, const QString& name);
    // The waveform combo, and the fixed text shown instead of it where there is no choice.
    void MakeWaveform(const ChoiceList& choices, bool isChoice);
    void MakeRingImpedance();
    // One box per line bit, labelled by LineLabel(); they start unchecked until shown.
    void MakeLineBoxes(int count);
    virtual QString LineLabel(int bit, int32_t detail) const;
    // The form the AC and DC line pages open with: waveform (with the ring-wave impedance beside
    // it), output lines and coupling. Call after the controls are made; the caller places it.
    QFormLayout* MakeLineForm();

    // Handlers shared by the pages (also used to re-read a combo when the page is shown).
    void ReadWaveform();
    void ReadRingImpedance();
    void ReadCoupling();
    // Stores the line configuration and shows its boxes; true when the combo had a selection.
    bool ReadDetail();
    // Enables, labels and checks the boxes for the line configuration now stored.
    void ShowLineBoxes();

    CSettingData& m_record;
    const int32_t m_port;
    QComboBox* m_waveform = nullptr;
    QLabel* m_waveformText = nullptr;
    QLabel* m_ringLabel = nullptr;
    QComboBox* m_ring = nullptr;
    QComboBox* m_detail = nullptr;
    QComboBox* m_coupling = nullptr;
    std::vector<QCheckBox*> m_lines;
};

}  // namespace zeb

#pragma once
// What the six output pages share: combo boxes that carry codes, the waveform with the fixed
// text shown where there is no choice, the ring-wave impedance, and the injection-return line
// boxes. A page holds no record: each control sends an intent from its state-change signal
// (click, key or accessible action alike), and Render shows the page's part of the editor's
// projection with every signal blocked.

#include <QWidget>

#include <optional>
#include <vector>

#include "EditorView.h"

class QCheckBox;
class QComboBox;
class QFormLayout;
class QLabel;

namespace zeb {

class CSetOutputPage : public QWidget {
    Q_OBJECT
public:
    explicit CSetOutputPage(QWidget* parent);

    // Shows the page as the projection says; writes nothing back.
    virtual void Render(const OutputPageView& view);

    // Controls, for tests and accessibility checks; nullptr where a page has none.
    QComboBox* WaveformCombo() const { return m_waveform; }
    QLabel* WaveformText() const { return m_waveformText; }
    QComboBox* RingCombo() const { return m_ring; }
    QComboBox* DetailCombo() const { return m_detail; }
    QComboBox* CouplingCombo() const { return m_coupling; }
    QCheckBox* LineBox(int bit) const;

    // Code of the combo's selected item; nothing while it has no selection.
    static std::optional<int32_t> CurrentCode(const QComboBox* combo);
    // Fills and selects a combo as the view says (signals blocked).
    static void RenderCombo(QComboBox* combo, const ComboView& view);

signals:
    void Sent(const zeb::Intent& intent);

protected:
    // A combo that sends `make(code)` whenever its selection changes.
    QComboBox* MakeCombo(Intent (*make)(int32_t), const QString& name);
    void MakeWaveform();
    void MakeRingImpedance();
    // One box per line bit; each sends ToggleLine from its toggled signal.
    void MakeLineBoxes(int count);
    // The form the AC and DC line pages open with: waveform (with the ring-wave impedance beside
    // it), output lines and coupling. Call after the controls are made; the caller places it.
    QFormLayout* MakeLineForm();

    QComboBox* m_waveform = nullptr;
    QLabel* m_waveformText = nullptr;
    QLabel* m_ringLabel = nullptr;
    QComboBox* m_ring = nullptr;
    QComboBox* m_detail = nullptr;
    QComboBox* m_coupling = nullptr;
    std::vector<QCheckBox*> m_lines;
};

}  // namespace zeb

#include "SetOutputPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>

#include "AccessibleLabel.h"

#include "SetOutputRules.h"
#include "SettingRules.h"

namespace zeb {

CSetOutputPage::CSetOutputPage(CSettingData& record, int32_t port, QWidget* parent)
    : QWidget(parent), m_record(record), m_port(port) {}

QCheckBox* CSetOutputPage::LineBox(int bit) const {
    return (bit >= 0 && bit < int(m_lines.size())) ? m_lines[bit] : nullptr;
}

std::optional<int32_t> CSetOutputPage::CurrentCode(const QComboBox* combo) {
    if (!combo || combo->currentIndex() < 0) {
        return std::nullopt;
    }
    return combo->currentData().toInt();
}

QComboBox* CSetOutputPage::MakeCombo(const ChoiceList& choices, int32_t code, const QString& name) {
    auto* combo = new QComboBox(this);
    for (const Choice& c : choices) {
        combo->addItem(c.text, c.code);
    }
    combo->setCurrentIndex(IndexOfCode(choices, code));
    combo->setAccessibleName(name);
    return combo;
}

void CSetOutputPage::MakeWaveform(const ChoiceList& choices, bool isChoice) {
    m_waveform = MakeCombo(choices, Slot().m_nWaveform, tr("Waveform"));
    m_waveformText = new QLabel(QStringLiteral("1.2 / 50"), this);
    m_waveformText->setAccessibleName(tr("Waveform"));
    m_waveform->setVisible(isChoice);
    m_waveformText->setVisible(!isChoice);
    connect(m_waveform, &QComboBox::activated, this, [this] { ReadWaveform(); });
}

void CSetOutputPage::MakeRingImpedance() {
    m_ringLabel = new QLabel(tr("Impedance:"), this);
    m_ring = MakeCombo(RingImpedances(), Slot().m_nRingRegi, tr("Impedance"));
    const bool ring = CurrentCode(m_waveform).value_or(-1) == kWaveRing;
    m_ringLabel->setVisible(ring);
    m_ring->setVisible(ring);
    connect(m_ring, &QComboBox::activated, this, [this] { ReadRingImpedance(); });
}

void CSetOutputPage::MakeLineBoxes(int count) {
    for (int bit = 0; bit < count; ++bit) {
        auto* box = new QCheckBox(LineLabel(bit, Slot().m_nOutputDetail), this);
        box->setEnabled(false);
        m_lines.push_back(box);
        // The checked state is what counts, however it changed: a click, the space bar or a
        // screen reader's toggle action (which emits no click).
        connect(box, &QCheckBox::toggled, this, [this, bit](bool on) {
            const int32_t detail = Slot().m_nOutputDetail;
            if (detail < 0 || detail >= kSlotCount) {
                return;
            }
            uint32_t& mask = Slot().m_aulInjRetBit[detail];
            mask = on ? (mask | (1u << bit)) : (mask & ~(1u << bit));
        });
    }
}

QFormLayout* CSetOutputPage::MakeLineForm() {
    auto* form = new QFormLayout;
    auto* waveRow = new QHBoxLayout;
    waveRow->addWidget(m_waveform);
    waveRow->addWidget(m_waveformText);
    waveRow->addSpacing(12);
    waveRow->addWidget(LabelFor(m_ringLabel, m_ring));
    waveRow->addWidget(m_ring);
    waveRow->addStretch(1);
    auto* waveLabel = new QLabel(tr("Waveform:"), this);
    waveLabel->setBuddy(m_waveform);
    form->addRow(waveLabel, waveRow);
    form->addRow(LabelFor(new QLabel(tr("Output lines:"), this), m_detail), m_detail);
    form->addRow(LabelFor(new QLabel(tr("Coupling:"), this), m_coupling), m_coupling);
    return form;
}

QString CSetOutputPage::LineLabel(int, int32_t) const {
    return QString();
}

void CSetOutputPage::ReadWaveform() {
    const std::optional<int32_t> code = CurrentCode(m_waveform);
    if (!code) {
        return;
    }
    Slot().m_nWaveform = *code;
    if (m_ring) {
        // The impedance only matters for the ring wave; its code is kept while hidden.
        m_ringLabel->setVisible(*code == kWaveRing);
        m_ring->setVisible(*code == kWaveRing);
    }
    ApplyMinimumInterval(m_record, *code);
    emit SettingChanged();
}

void CSetOutputPage::ReadRingImpedance() {
    if (const std::optional<int32_t> code = CurrentCode(m_ring)) {
        Slot().m_nRingRegi = *code;
    }
}

void CSetOutputPage::ReadCoupling() {
    if (const std::optional<int32_t> code = CurrentCode(m_coupling)) {
        Slot().m_nCoup = *code;
    }
}

bool CSetOutputPage::ReadDetail() {
    const std::optional<int32_t> code = CurrentCode(m_detail);
    if (!code) {
        return false;
    }
    Slot().m_nOutputDetail = *code;
    ShowLineBoxes();
    return true;
}

void CSetOutputPage::ShowLineBoxes() {
    const int32_t detail = Slot().m_nOutputDetail;
    const uint32_t enabled = EnabledLineBits(m_port, detail, m_record.m_ulMachineType);
    const uint32_t mask = (detail >= 0 && detail < kSlotCount) ? Slot().m_aulInjRetBit[detail] : 0u;
    for (int bit = 0; bit < int(m_lines.size()); ++bit) {
        QCheckBox* box = m_lines[bit];
        box->setText(LineLabel(bit, detail));
        box->setAccessibleName(box->text().simplified());
        box->setEnabled((enabled >> bit) & 1u);
        const QSignalBlocker quiet(box);  // showing the record writes nothing back
        box->setChecked((mask >> bit) & 1u);
    }
}

}  // namespace zeb

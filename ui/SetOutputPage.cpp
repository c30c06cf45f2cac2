#include "SetOutputPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>

#include "AccessibleLabel.h"

namespace zeb {

CSetOutputPage::CSetOutputPage(QWidget* parent) : QWidget(parent) {}

QCheckBox* CSetOutputPage::LineBox(int bit) const {
    return (bit >= 0 && bit < int(m_lines.size())) ? m_lines[bit] : nullptr;
}

std::optional<int32_t> CSetOutputPage::CurrentCode(const QComboBox* combo) {
    if (!combo || combo->currentIndex() < 0) {
        return std::nullopt;
    }
    return combo->currentData().toInt();
}

void CSetOutputPage::RenderCombo(QComboBox* combo, const ComboView& view) {
    if (!combo) {
        return;
    }
    const QSignalBlocker quiet(combo);
    bool same = combo->count() == int(view.items.size());
    for (int i = 0; same && i < combo->count(); ++i) {
        same = combo->itemText(i) == view.items[size_t(i)].text &&
               combo->itemData(i).toInt() == view.items[size_t(i)].code;
    }
    if (!same) {
        combo->clear();
        for (const Choice& c : view.items) {
            combo->addItem(c.text, c.code);
        }
    }
    combo->setCurrentIndex(view.current);
    combo->setVisible(view.visible);
}

QComboBox* CSetOutputPage::MakeCombo(Intent (*make)(int32_t), const QString& name) {
    auto* combo = new QComboBox(this);
    combo->setAccessibleName(name);
    connect(combo, &QComboBox::currentIndexChanged, this, [this, combo, make] {
        if (const std::optional<int32_t> code = CurrentCode(combo)) {
            emit Sent(make(*code));
        }
    });
    return combo;
}

void CSetOutputPage::MakeWaveform() {
    m_waveform = MakeCombo(intent::SelectWaveform, tr("Waveform"));
    m_waveformText = new QLabel(QStringLiteral("1.2 / 50"), this);
    m_waveformText->setAccessibleName(tr("Waveform"));
}

void CSetOutputPage::MakeRingImpedance() {
    m_ringLabel = new QLabel(tr("Impedance:"), this);
    m_ring = MakeCombo(intent::SelectRingImpedance, tr("Impedance"));
}

void CSetOutputPage::MakeLineBoxes(int count) {
    for (int bit = 0; bit < count; ++bit) {
        auto* box = new QCheckBox(this);
        box->setEnabled(false);
        m_lines.push_back(box);
        connect(box, &QCheckBox::toggled, this,
                [this, bit](bool on) { emit Sent(intent::ToggleLine(bit, on)); });
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

void CSetOutputPage::Render(const OutputPageView& view) {
    RenderCombo(m_waveform, view.waveform);
    if (m_waveformText) {
        m_waveformText->setVisible(view.waveformText);
    }
    RenderCombo(m_ring, view.ring);
    if (m_ringLabel) {
        m_ringLabel->setVisible(view.ring.visible);
    }
    RenderCombo(m_detail, view.detail);
    RenderCombo(m_coupling, view.coupling);
    for (size_t bit = 0; bit < m_lines.size() && bit < view.lines.size(); ++bit) {
        QCheckBox* box = m_lines[bit];
        const BoxView& b = view.lines[bit];
        const QSignalBlocker quiet(box);
        box->setText(b.text);
        box->setAccessibleName(b.text.simplified());
        box->setEnabled(b.enabled);
        box->setChecked(b.checked);
        box->setVisible(b.visible);
    }
}

}  // namespace zeb

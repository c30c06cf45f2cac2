#include "SetOutputEnclosureDlg.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>

namespace zeb {

CSetOutputEnclosureDlg::CSetOutputEnclosureDlg(QWidget* parent) : CSetOutputPage(parent) {
    MakeWaveform();
    auto* waveRow = new QHBoxLayout;
    waveRow->addWidget(m_waveform);
    waveRow->addWidget(m_waveformText);
    waveRow->addStretch(1);
    auto* waveLabel = new QLabel(tr("Waveform:"), this);
    waveLabel->setBuddy(m_waveform);
    // The surge output has one line configuration only.
    m_detailText = new QLabel(this);
    m_detailText->setAccessibleName(tr("Output lines"));

    auto* form = new QFormLayout(this);
    form->addRow(waveLabel, waveRow);
    form->addRow(new QLabel(tr("Output lines:"), this), m_detailText);
}

void CSetOutputEnclosureDlg::Render(const OutputPageView& view) {
    CSetOutputPage::Render(view);
    m_detailText->setText(view.detailText);
}

}  // namespace zeb

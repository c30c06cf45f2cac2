#include "SetOutputEnclosureDlg.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>

#include "NameTables.h"
#include "SetOutputRules.h"

namespace zeb {

CSetOutputEnclosureDlg::CSetOutputEnclosureDlg(CSettingData& record, QWidget* parent)
    : CSetOutputPage(record, kPortSurge, parent) {
    const uint32_t machineType = record.m_ulMachineType;
    MakeWaveform(SurgeWaveforms(machineType), SurgeWaveformIsChoice(machineType));
    auto* waveRow = new QHBoxLayout;
    waveRow->addWidget(m_waveform);
    waveRow->addWidget(m_waveformText);
    waveRow->addStretch(1);
    auto* waveLabel = new QLabel(tr("Waveform:"), this);
    waveLabel->setBuddy(m_waveform);
    // The surge output has one line configuration only.
    auto* detail = new QLabel(names::kSurgeDetail.Lookup(0), this);
    detail->setAccessibleName(tr("Output lines"));

    auto* form = new QFormLayout(this);
    form->addRow(waveLabel, waveRow);
    form->addRow(new QLabel(tr("Output lines:"), this), detail);
}

void CSetOutputEnclosureDlg::OnBeingShown() {
    ReadWaveform();
}

}  // namespace zeb

#include "SetOutputDcDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "SetOutputRules.h"
#include "SettingRules.h"

namespace zeb {

CSetOutputDcDlg::CSetOutputDcDlg(CSettingData& record, QWidget* parent)
    : CSetOutputPage(record, kPortDc, parent) {
    const uint32_t machineType = record.m_ulMachineType;
    MakeWaveform(DcWaveforms(machineType), LineWaveformIsChoice(machineType));
    MakeRingImpedance();
    m_detail = MakeCombo(DcDetails(), Slot().m_nOutputDetail, tr("Output lines"));
    m_coupling = MakeCombo(LineCouplings(), Slot().m_nCoup, tr("Coupling"));
    MakeLineBoxes(kDcLineBoxes);

    QFormLayout* form = MakeLineForm();

    auto* normal = new QGroupBox(tr("INJ - RET  NORMAL"), this);
    auto* normalColumn = new QVBoxLayout(normal);
    normalColumn->addWidget(m_lines[0]);
    normalColumn->addWidget(m_lines[1]);
    auto* common = new QGroupBox(tr("INJ - RET  COMMON"), this);
    auto* commonColumn = new QVBoxLayout(common);
    commonColumn->addWidget(m_lines[2]);
    commonColumn->addWidget(m_lines[3]);
    auto* lines = new QHBoxLayout;
    lines->addWidget(normal);
    lines->addWidget(common);

    auto* column = new QVBoxLayout(this);
    column->addLayout(form);
    column->addLayout(lines);
    column->addStretch(1);

    connect(m_detail, &QComboBox::activated, this, [this] { OnDetailChanged(); });
    connect(m_coupling, &QComboBox::activated, this, [this] { ReadCoupling(); });
}

QString CSetOutputDcDlg::LineLabel(int bit, int32_t) const {
    return DcLineLabel(bit);
}

void CSetOutputDcDlg::OnDetailChanged() {
    if (!ReadDetail()) {
        return;
    }
    m_record.m_valVolt.m_nVariableKind =
        VariableKindForDetail(kPortDc, Slot().m_nOutputDetail, m_record.m_valVolt.m_nVariableKind);
    emit SettingChanged();
}

void CSetOutputDcDlg::OnBeingShown() {
    OnDetailChanged();
    ReadCoupling();
}

}  // namespace zeb

#include "SetOutputTelDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "AccessibleLabel.h"
#include "SetOutputRules.h"

namespace zeb {

namespace {

QFormLayout* TelecomForm(QWidget* page, QComboBox* waveform, QComboBox* detail,
                         QComboBox* resistor) {
    auto* form = new QFormLayout;
    form->addRow(LabelFor(new QLabel(QObject::tr("Waveform:"), page), waveform), waveform);
    form->addRow(LabelFor(new QLabel(QObject::tr("Output lines:"), page), detail), detail);
    if (resistor) {
        form->addRow(LabelFor(new QLabel(QObject::tr("Impedance[Ohm]:"), page), resistor),
                     resistor);
    }
    return form;
}

}  // namespace

CSetOutputTelDlg::CSetOutputTelDlg(CSettingData& record, QWidget* parent)
    : CSetOutputPage(record, kPortTelecom, parent) {
    MakeWaveform(TelecomWaveforms(), true);
    m_detail = MakeCombo(TelecomDetails(), Slot().m_nOutputDetail, tr("Output lines"));
    m_coupling = MakeCombo(TelecomResistors(), Slot().m_nCoup, tr("Impedance[Ohm]"));
    MakeLineBoxes(kTelecomLineBoxes);

    auto* normal = new QGroupBox(tr("RET  NORMAL"), this);
    auto* normalRow = new QHBoxLayout(normal);
    for (int bit = 0; bit < 4; ++bit) {
        normalRow->addWidget(m_lines[bit]);
    }
    auto* common = new QGroupBox(tr("RET  COMMON"), this);
    auto* commonRow = new QHBoxLayout(common);
    commonRow->addWidget(m_lines[4]);
    auto* lines = new QHBoxLayout;
    lines->addWidget(normal, 4);
    lines->addWidget(common, 1);

    auto* column = new QVBoxLayout(this);
    column->addLayout(TelecomForm(this, m_waveform, m_detail, m_coupling));
    column->addLayout(lines);
    column->addStretch(1);

    connect(m_detail, &QComboBox::activated, this, [this] { ReadDetail(); });
    connect(m_coupling, &QComboBox::activated, this, [this] { ReadCoupling(); });
}

QString CSetOutputTelDlg::LineLabel(int bit, int32_t) const {
    return TelecomLineLabel(bit);
}

void CSetOutputTelDlg::OnBeingShown() {
    ReadWaveform();
    ReadDetail();
    ReadCoupling();
}

CSetOutputTel41x0Dlg::CSetOutputTel41x0Dlg(CSettingData& record, QWidget* parent)
    : CSetOutputPage(record, kPortTelecom, parent) {
    MakeWaveform(TelecomUnitWaveforms(record.m_ulMachineType), true);
    m_detail = MakeCombo(TelecomDetails(), Slot().m_nOutputDetail, tr("Output lines"));
    m_coupling = MakeCombo(TelecomUnitResistors(), Slot().m_nCoup, tr("Impedance[Ohm]"));
    auto* column = new QVBoxLayout(this);
    column->addLayout(TelecomForm(this, m_waveform, m_detail, m_coupling));
    column->addStretch(1);
    connect(m_detail, &QComboBox::activated, this, [this] { ReadDetailOnly(); });
    connect(m_coupling, &QComboBox::activated, this, [this] { ReadCoupling(); });
}

void CSetOutputTel41x0Dlg::ReadDetailOnly() {
    if (const std::optional<int32_t> code = CurrentCode(m_detail)) {
        Slot().m_nOutputDetail = *code;
    }
}

void CSetOutputTel41x0Dlg::OnBeingShown() {
    ReadWaveform();
    ReadDetailOnly();
    ReadCoupling();
}

CSetOutputTelEd3Dlg::CSetOutputTelEd3Dlg(CSettingData& record, QWidget* parent)
    : CSetOutputPage(record, kPortTelecom, parent) {
    MakeWaveform(TelecomWaveforms(), true);
    m_detail = MakeCombo(TelecomDetails(), Slot().m_nOutputDetail, tr("Output lines"));
    auto* column = new QVBoxLayout(this);
    column->addLayout(TelecomForm(this, m_waveform, m_detail, nullptr));
    column->addStretch(1);
    connect(m_detail, &QComboBox::activated, this, [this] {
        if (const std::optional<int32_t> code = CurrentCode(m_detail)) {
            Slot().m_nOutputDetail = *code;
        }
    });
}

}  // namespace zeb

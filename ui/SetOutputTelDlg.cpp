#include "SetOutputTelDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "AccessibleLabel.h"

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

CSetOutputTelDlg::CSetOutputTelDlg(QWidget* parent) : CSetOutputPage(parent) {
    MakeWaveform();
    m_detail = MakeCombo(intent::SelectLineConfiguration, tr("Output lines"));
    m_coupling = MakeCombo(intent::SelectCoupling, tr("Impedance[Ohm]"));
    MakeLineBoxes(kTelecomLineCount);

    auto* normal = new QGroupBox(tr("RET  NORMAL"), this);
    auto* normalRow = new QHBoxLayout(normal);
    for (int bit = kTelecomRet1; bit <= kTelecomRet4; ++bit) {
        normalRow->addWidget(m_lines[bit]);
    }
    auto* common = new QGroupBox(tr("RET  COMMON"), this);
    auto* commonRow = new QHBoxLayout(common);
    commonRow->addWidget(m_lines[kTelecomRetPE]);
    auto* lines = new QHBoxLayout;
    lines->addWidget(normal, 4);
    lines->addWidget(common, 1);

    auto* column = new QVBoxLayout(this);
    column->addLayout(TelecomForm(this, m_waveform, m_detail, m_coupling));
    column->addLayout(lines);
    column->addStretch(1);
}

CSetOutputTel41x0Dlg::CSetOutputTel41x0Dlg(QWidget* parent) : CSetOutputPage(parent) {
    MakeWaveform();
    m_detail = MakeCombo(intent::SelectLineConfiguration, tr("Output lines"));
    m_coupling = MakeCombo(intent::SelectCoupling, tr("Impedance[Ohm]"));
    auto* column = new QVBoxLayout(this);
    column->addLayout(TelecomForm(this, m_waveform, m_detail, m_coupling));
    column->addStretch(1);
}

CSetOutputTelEd3Dlg::CSetOutputTelEd3Dlg(QWidget* parent) : CSetOutputPage(parent) {
    MakeWaveform();
    m_detail = MakeCombo(intent::SelectLineConfiguration, tr("Output lines"));
    auto* column = new QVBoxLayout(this);
    column->addLayout(TelecomForm(this, m_waveform, m_detail, nullptr));
    column->addStretch(1);
}

}  // namespace zeb

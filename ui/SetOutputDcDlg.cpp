#include "SetOutputDcDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace zeb {

CSetOutputDcDlg::CSetOutputDcDlg(QWidget* parent) : CSetOutputPage(parent) {
    MakeWaveform();
    MakeRingImpedance();
    m_detail = MakeCombo(intent::SelectLineConfiguration, tr("Output lines"));
    m_coupling = MakeCombo(intent::SelectCoupling, tr("Coupling"));
    MakeLineBoxes(kDcLineCount);

    QFormLayout* form = MakeLineForm();

    auto* normal = new QGroupBox(tr("INJ - RET  NORMAL"), this);
    auto* normalColumn = new QVBoxLayout(normal);
    normalColumn->addWidget(m_lines[kDcLinePlusMinus]);
    normalColumn->addWidget(m_lines[kDcLineMinusPlus]);
    auto* common = new QGroupBox(tr("INJ - RET  COMMON"), this);
    auto* commonColumn = new QVBoxLayout(common);
    commonColumn->addWidget(m_lines[kDcLinePlusPE]);
    commonColumn->addWidget(m_lines[kDcLineMinusPE]);
    auto* lines = new QHBoxLayout;
    lines->addWidget(normal);
    lines->addWidget(common);

    auto* column = new QVBoxLayout(this);
    column->addLayout(form);
    column->addLayout(lines);
    column->addStretch(1);
}

}  // namespace zeb

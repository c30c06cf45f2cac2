#include "SetOutputAcDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QVBoxLayout>

#include "SetOutputRules.h"
#include "SettingRules.h"
#include "ValueDlg.h"

namespace zeb {

namespace {

// Box layout: line-to-line pairs grouped by injection line, line-to-earth pairs below.
constexpr int kNormalBits[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 17};
constexpr int kCommonBits[] = {12, 13, 14, 15, 16, 18, 19};

}  // namespace

CSetOutputAcDlg::CSetOutputAcDlg(CSettingData& record, int instrumentHWVersion, QWidget* parent)
    : CSetOutputPage(record, kPortAc, parent),
      m_sync(new QRadioButton(QStringLiteral("SYNC"), this)),
      m_async(new QRadioButton(QStringLiteral("ASYNC"), this)),
      m_angle(nullptr) {
    const uint32_t machineType = record.m_ulMachineType;
    MakeWaveform(AcWaveforms(machineType), LineWaveformIsChoice(machineType));
    MakeRingImpedance();
    m_detail = MakeCombo(AcDetails(machineType, record.m_nHWVersion, instrumentHWVersion),
                         Slot().m_nOutputDetail, tr("Output lines"));
    m_coupling = MakeCombo(LineCouplings(), Slot().m_nCoup, tr("Coupling"));
    MakeLineBoxes(kAcLineBoxes);
    for (int bit = kAcFirstCombinedLine; bit < kAcLineBoxes; ++bit) {
        m_lines[bit]->setVisible(false);
    }
    m_angle = new CValueDlg(Slot().m_valAngle, record.m_vlAngle, this);

    QFormLayout* form = MakeLineForm();

    auto* normal = new QGroupBox(tr("INJ - RET  NORMAL (L-L)"), this);
    auto* normalGrid = new QGridLayout(normal);
    int i = 0;
    for (int bit : kNormalBits) {
        normalGrid->addWidget(m_lines[bit], i % 3, i / 3);
        ++i;
    }
    auto* common = new QGroupBox(tr("INJ - RET  COMMON (L-PE)"), this);
    auto* commonGrid = new QGridLayout(common);
    i = 0;
    for (int bit : kCommonBits) {
        commonGrid->addWidget(m_lines[bit], i % 4, i / 4);
        ++i;
    }
    auto* lines = new QHBoxLayout;
    lines->addWidget(normal, 3);
    lines->addWidget(common, 2);

    auto* phase = new QGroupBox(tr("Phase angle"), this);
    auto* phaseRow = new QHBoxLayout(phase);
    auto* radios = new QVBoxLayout;
    radios->addWidget(m_async);
    radios->addWidget(m_sync);
    radios->addStretch(1);
    phaseRow->addLayout(radios);
    phaseRow->addWidget(m_angle, 1);

    auto* column = new QVBoxLayout(this);
    column->addLayout(form);
    column->addLayout(lines);
    column->addWidget(phase);
    column->addStretch(1);

    // Synchronisation is a yes/no choice; anything else a file held counts as yes.
    const bool sync = Slot().m_nSync != 0;
    (sync ? m_sync : m_async)->setChecked(true);
    Slot().m_nSync = sync ? 1 : 0;
    m_angle->SetInputsEnabled(sync);

    connect(m_detail, &QComboBox::activated, this, [this] { OnDetailChanged(); });
    connect(m_coupling, &QComboBox::activated, this, [this] { ReadCoupling(); });
    // Either radio reports its own checking; the one unchecked alongside is ignored.
    connect(m_sync, &QRadioButton::toggled, this, [this](bool on) {
        if (on) {
            SetSync(true);
        }
    });
    connect(m_async, &QRadioButton::toggled, this, [this](bool on) {
        if (on) {
            SetSync(false);
        }
    });
}

QString CSetOutputAcDlg::LineLabel(int bit, int32_t detail) const {
    return AcLineLabel(bit, detail);
}

void CSetOutputAcDlg::OnDetailChanged() {
    if (!ReadDetail()) {
        return;
    }
    const int32_t detail = Slot().m_nOutputDetail;
    m_record.m_valVolt.m_nVariableKind =
        VariableKindForDetail(kPortAc, detail, m_record.m_valVolt.m_nVariableKind);
    // The combined-line boxes only exist on coupling units that can switch them.
    for (int bit = kAcFirstCombinedLine; bit < kAcLineBoxes; ++bit) {
        m_lines[bit]->setVisible(m_lines[bit]->isEnabled());
    }
    emit SettingChanged();
}

void CSetOutputAcDlg::SetSync(bool on) {
    Slot().m_nSync = on ? 1 : 0;
    m_angle->SetInputsEnabled(on);
}

void CSetOutputAcDlg::OnBeingShown() {
    ReadWaveform();
    OnDetailChanged();
    ReadCoupling();
}

}  // namespace zeb

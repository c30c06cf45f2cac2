#include "SetOutputAcDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "ValueDlg.h"

namespace zeb {

namespace {

// The boxes of a group of lines (line-to-line or line-to-earth), in bit order.
std::vector<int> BitsOf(uint32_t mask) {
    std::vector<int> bits;
    for (int bit = 0; bit < kAcLineCount; ++bit) {
        if (mask & LineBit(bit)) {
            bits.push_back(bit);
        }
    }
    return bits;
}

}  // namespace

CSetOutputAcDlg::CSetOutputAcDlg(QWidget* parent)
    : CSetOutputPage(parent),
      m_sync(new QRadioButton(QStringLiteral("SYNC"), this)),
      m_async(new QRadioButton(QStringLiteral("ASYNC"), this)) {
    MakeWaveform();
    MakeRingImpedance();
    m_detail = MakeCombo(intent::SelectLineConfiguration, tr("Output lines"));
    m_coupling = MakeCombo(intent::SelectCoupling, tr("Coupling"));
    MakeLineBoxes(kAcLineCount);
    m_angle = new CValueDlg(ValuePanel::Angle, this);
    connect(m_angle, &CValueDlg::Sent, this, &CSetOutputPage::Sent);

    QFormLayout* form = MakeLineForm();

    // Line-to-line pairs grouped by injection line, line-to-earth pairs beside them.
    auto* normal = new QGroupBox(tr("INJ - RET  NORMAL (L-L)"), this);
    auto* normalGrid = new QGridLayout(normal);
    int i = 0;
    for (int bit : BitsOf(kAcNormalLines)) {
        normalGrid->addWidget(m_lines[bit], i % 3, i / 3);
        ++i;
    }
    auto* common = new QGroupBox(tr("INJ - RET  COMMON (L-PE)"), this);
    auto* commonGrid = new QGridLayout(common);
    i = 0;
    for (int bit : BitsOf(kAcCommonLines)) {
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

    // Either radio reports its own checking; the one unchecked alongside is ignored.
    connect(m_sync, &QRadioButton::toggled, this, [this](bool on) {
        if (on) {
            emit Sent(intent::SetSync(true));
        }
    });
    connect(m_async, &QRadioButton::toggled, this, [this](bool on) {
        if (on) {
            emit Sent(intent::SetSync(false));
        }
    });
}

void CSetOutputAcDlg::Render(const OutputPageView& view) {
    CSetOutputPage::Render(view);
    {
        const QSignalBlocker quietSync(m_sync);
        const QSignalBlocker quietAsync(m_async);
        (view.sync ? m_sync : m_async)->setChecked(true);
    }
    m_angle->Render(view.angle);
}

}  // namespace zeb

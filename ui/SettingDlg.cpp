#include "SettingDlg.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "AccessibleLabel.h"
#include "MessageSeam.h"
#include "SetOutputAcDlg.h"
#include "SetOutputDcDlg.h"
#include "SetOutputEnclosureDlg.h"
#include "SetOutputPage.h"
#include "SetOutputTelDlg.h"
#include "ValueDlg.h"
#include "ValueEdit.h"
#include "ValueRules.h"

namespace zeb {

namespace {

// Polarity radios and the bit sets they stand for: positive, negative, both.
constexpr uint32_t kPolarityBits[3] = {1, 2, 3};
const char* const kPolarityTexts[3] = {"+", "-", "+/-"};

int32_t WaveformOfPort(const CSettingData& record, int32_t port) {
    if (port < 0 || port >= kSlotCount) {
        return -1;  // leaves the minimum as it is
    }
    return record.m_outOutput.m_aopOutputPort[port].m_nWaveform;
}

}  // namespace

CSettingDlg::CSettingDlg(const CSettingData& record, QWidget* parent, int instrumentHWVersion)
    : QDialog(parent), m_record(record) {
    setWindowTitle(tr("Test condition settings"));
    const uint32_t machineType = m_record.m_ulMachineType;

    // Polarity.
    auto* polarity = new QGroupBox(tr("Polarity"), this);
    auto* polarityRow = new QHBoxLayout(polarity);
    m_polarityGroup = new QButtonGroup(this);
    for (int i = 0; i < 3; ++i) {
        m_polarity[i] = new QRadioButton(QString::fromLatin1(kPolarityTexts[i]), polarity);
        m_polarity[i]->setAccessibleName(tr("Polarity %1").arg(kPolarityTexts[i]));
        m_polarityGroup->addButton(m_polarity[i], i);
        polarityRow->addWidget(m_polarity[i]);
        if (m_record.m_ulPola == kPolarityBits[i]) {
            m_polarity[i]->setChecked(true);
        }
    }
    polarityRow->addStretch(1);
    // The checked radio is what counts, however it became checked (click, arrow keys or a
    // screen reader's toggle action, which emits no click).
    connect(m_polarityGroup, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (on) {
            m_record.m_ulPola = kPolarityBits[id];
        }
    });

    // Discharge count and interval.
    auto* discharge = new QGroupBox(tr("Discharge"), this);
    auto* grid = new QGridLayout(discharge);
    m_count = new CValueEdit(discharge);
    m_interval = new CValueEdit(discharge);
    grid->addWidget(LabelFor(new QLabel(tr("Count:"), discharge), m_count->Edit()), 0, 0);
    grid->addWidget(m_count, 0, 1);
    grid->addWidget(new QLabel(m_record.m_vlDisc.m_strUnit, discharge), 0, 2);
    grid->addWidget(LabelFor(new QLabel(tr("Interval:"), discharge), m_interval->Edit()), 1, 0);
    grid->addWidget(m_interval, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("[s]"), discharge), 1, 2);
    grid->setColumnStretch(3, 1);
    m_count->SetName(tr("Count"));
    m_interval->SetName(tr("Interval"));
    const QStringList notes = IntervalNotes(machineType);
    for (int i = 0; i < 2; ++i) {
        m_notes[i] = new QLabel(notes[i], discharge);
        grid->addWidget(m_notes[i], 2 + i, 0, 1, 4);
    }
    connect(m_count, &CValueEdit::Committed, this, [this] {
        const VALUE_LIMIT& l = m_record.m_vlDisc;
        m_record.m_lDisc = BoundedAfterEdit(m_count->Text(), l.m_lMin, l.m_lMax, l);
        ShowCount();
    });
    connect(m_count, &CValueEdit::Spun, this, [this](bool up) {
        const VALUE_LIMIT& l = m_record.m_vlDisc;
        m_record.m_lDisc = BoundedAfterSpin(m_count->Text(), up, l.m_lMin, l.m_lMax, l);
        ShowCount();
    });
    connect(m_interval, &CValueEdit::Committed, this, [this] {
        const VALUE_LIMIT& l = m_record.m_vlRept;
        m_record.m_lRept = BoundedAfterEdit(m_interval->Text(), l.m_lMin, l.m_lMax, l);
        ShowInterval();
    });
    connect(m_interval, &CValueEdit::Spun, this, [this](bool up) {
        const VALUE_LIMIT& l = m_record.m_vlRept;
        m_record.m_lRept = BoundedAfterSpin(m_interval->Text(), up, l.m_lMin, l.m_lMax, l);
        ShowInterval();
    });

    // Voltage, after the interval in the tab order.
    auto* voltage = new QGroupBox(tr("Voltage"), this);
    auto* voltageBox = new QVBoxLayout(voltage);
    m_voltage = new CValueDlg(m_record.m_valVolt, m_record.m_vlVolt, voltage);
    voltageBox->addWidget(m_voltage);

    // The interval minimum follows the waveform of the port in use.
    m_record.m_vlRept.m_lMin =
        MinimumInterval(WaveformOfPort(m_record, m_record.m_outOutput.m_nOutputPort), machineType,
                        m_record.m_vlRept.m_lMin);

    auto* left = new QVBoxLayout;
    left->addWidget(polarity);
    left->addWidget(discharge);
    left->addWidget(voltage, 1);
    auto* ed3 = new QLabel(Edition3Note(), this);
    left->addWidget(ed3);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &CSettingDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CSettingDlg::reject);

    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 2);
    columns->addWidget(BuildPortArea(instrumentHWVersion), 3);
    auto* outer = new QVBoxLayout(this);
    outer->addLayout(columns, 1);
    outer->addWidget(buttons);

    // Ports the machine offers; the record's port, or the first one when it offers no such port.
    for (const Choice& c : PortChoices(machineType)) {
        m_port->addItem(c.text, c.code);
    }
    if (m_port->count() > 0) {
        const int index = m_port->findData(m_record.m_outOutput.m_nOutputPort);
        m_port->setCurrentIndex(index >= 0 ? index : 0);
    }
    connect(m_port, &QComboBox::activated, this, [this] { OnPortSelected(); });
    OnPortSelected();
    ShowCount();
    ShowInterval();
}

CSettingDlg::~CSettingDlg() {
    // A field commits its text when it loses the focus, and it loses it while the dialog is taken
    // down too. The pages and fields write into the working record, so they go first, while the
    // record and the dialog they report to are still whole.
    qDeleteAll(findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly));
}

QWidget* CSettingDlg::BuildPortArea(int instrumentHWVersion) {
    auto* area = new QGroupBox(tr("Output"), this);
    auto* column = new QVBoxLayout(area);
    m_port = new QComboBox(area);
    auto* portRow = new QHBoxLayout;
    portRow->addWidget(LabelFor(new QLabel(tr("Output port:"), area), m_port));
    portRow->addWidget(m_port, 1);
    column->addLayout(portRow);

    auto* frame = new QFrame(area);
    frame->setFrameShape(QFrame::StyledPanel);
    auto* stack = new QVBoxLayout(frame);
    stack->setContentsMargins(4, 4, 4, 4);
    m_pages[int(OutputPage::Ac)] = new CSetOutputAcDlg(m_record, instrumentHWVersion, frame);
    m_pages[int(OutputPage::Dc)] = new CSetOutputDcDlg(m_record, frame);
    m_pages[int(OutputPage::Surge)] = new CSetOutputEnclosureDlg(m_record, frame);
    m_pages[int(OutputPage::Telecom)] = new CSetOutputTelDlg(m_record, frame);
    m_pages[int(OutputPage::TelecomUnit)] = new CSetOutputTel41x0Dlg(m_record, frame);
    m_pages[int(OutputPage::TelecomEd3)] = new CSetOutputTelEd3Dlg(m_record, frame);
    for (CSetOutputPage* page : m_pages) {
        if (!page) {
            continue;
        }
        page->hide();
        stack->addWidget(page);
        // Queued: the page finishes its own change before the editor looks at the record.
        connect(page, &CSetOutputPage::SettingChanged, this, &CSettingDlg::OnSettingChanged,
                Qt::QueuedConnection);
    }
    // Room for the largest page from the start, so the editor keeps its size when the
    // operator picks another output port.
    QSize largest;
    for (const CSetOutputPage* page : m_pages) {
        if (page) {
            largest = largest.expandedTo(page->sizeHint());
        }
    }
    const QMargins margins = stack->contentsMargins();
    const int frameWidth = 2 * frame->frameWidth();
    frame->setMinimumSize(largest.width() + margins.left() + margins.right() + frameWidth,
                          largest.height() + margins.top() + margins.bottom() + frameWidth);
    column->addWidget(frame, 1);
    return area;
}

CSetOutputPage* CSettingDlg::Page(OutputPage page) const {
    return m_pages[int(page)];
}

OutputPage CSettingDlg::VisiblePage() const {
    for (size_t i = 0; i < m_pages.size(); ++i) {
        if (m_pages[i] && !m_pages[i]->isHidden()) {
            return OutputPage(i);
        }
    }
    return OutputPage::None;
}

void CSettingDlg::ShowOutputPage(OutputPage shown) {
    for (size_t i = 0; i < m_pages.size(); ++i) {
        if (m_pages[i] && OutputPage(i) != shown) {
            m_pages[i]->hide();
        }
    }
    CSetOutputPage* page = Page(shown);
    if (page && page->isHidden()) {
        page->show();
        page->OnBeingShown();
        // The page may have shown or hidden controls while the dialog is not on screen yet;
        // cached layout sizes would then squeeze the new ones.
        for (QLayout* l : findChildren<QLayout*>()) {
            l->invalidate();
        }
    }
}

void CSettingDlg::OnPortSelected() {
    const std::optional<int32_t> code = CSetOutputPage::CurrentCode(m_port);
    const uint32_t machineType = m_record.m_ulMachineType;
    if (code) {
        const int32_t port = *code;
        m_record.m_outOutput.m_nOutputPort = port;
        ShowOutputPage(PageForPort(port, machineType));
        VALUE_LIMIT& limit = m_voltage->Limits();
        VALUE& volt = m_record.m_valVolt;
        const int32_t detail = m_record.m_outOutput.m_aopOutputPort[port].m_nOutputDetail;
        volt.m_nVariableKind = VariableKindForPort(port, detail, volt.m_nVariableKind);
        limit.m_lMax = VoltageMaxForPort(port, machineType, limit.m_lMax);
        m_voltage->ShowPage();
    }
    ApplyMinimumInterval(m_record, WaveformOfPort(m_record, m_record.m_outOutput.m_nOutputPort));
    ShowInterval();
}

void CSettingDlg::OnSettingChanged() {
    ShowInterval();
    m_voltage->ShowPage();
}

void CSettingDlg::ShowCount() {
    m_count->SetText(FormatFixed(m_record.m_lDisc, m_record.m_vlDisc));
}

void CSettingDlg::ShowInterval() {
    m_interval->SetText(FormatFixed(m_record.m_lRept, m_record.m_vlRept));
}

void CSettingDlg::accept() {
    const OkCheckResult check = CheckForOk(m_record);
    for (const QString& message : check.messages) {
        ShowMessage(message, MsgButtons::Ok, MsgIcon::Warning);
    }
    if (check.accept) {
        QDialog::accept();
    }
}

}  // namespace zeb

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
#include <QSignalBlocker>
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

namespace zeb {

namespace {

const char* const kPolarityTexts[3] = {"+", "-", "+/-"};

}  // namespace

CSettingDlg::CSettingDlg(const CSettingData& record, QWidget* parent, int instrumentHWVersion)
    : QDialog(parent), m_state(OpenEditor(record, instrumentHWVersion)) {
    setWindowTitle(tr("Test condition settings"));

    // Polarity.
    auto* polarity = new QGroupBox(tr("Polarity"), this);
    auto* polarityRow = new QHBoxLayout(polarity);
    m_polarityGroup = new QButtonGroup(this);
    for (int i = 0; i < 3; ++i) {
        m_polarity[i] = new QRadioButton(QString::fromLatin1(kPolarityTexts[i]), polarity);
        m_polarity[i]->setAccessibleName(tr("Polarity %1").arg(kPolarityTexts[i]));
        m_polarityGroup->addButton(m_polarity[i], i);
        polarityRow->addWidget(m_polarity[i]);
    }
    polarityRow->addStretch(1);
    // The checked radio is what counts, however it became checked (click, arrow keys or a
    // screen reader's toggle action, which emits no click).
    connect(m_polarityGroup, &QButtonGroup::idToggled, &m_intents, [this](int id, bool on) {
        if (on) {
            Send(intent::SelectPolarity(id));
        }
    });

    // Discharge count and interval.
    auto* discharge = new QGroupBox(tr("Discharge"), this);
    auto* grid = new QGridLayout(discharge);
    m_count = new CValueEdit(discharge);
    m_interval = new CValueEdit(discharge);
    grid->addWidget(LabelFor(new QLabel(tr("Count:"), discharge), m_count->Edit()), 0, 0);
    grid->addWidget(m_count, 0, 1);
    grid->addWidget(new QLabel(Record().m_vlDisc.m_strUnit, discharge), 0, 2);
    grid->addWidget(LabelFor(new QLabel(tr("Interval:"), discharge), m_interval->Edit()), 1, 0);
    grid->addWidget(m_interval, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("[s]"), discharge), 1, 2);
    grid->setColumnStretch(3, 1);
    m_count->SetName(tr("Count"));
    m_interval->SetName(tr("Interval"));
    for (int i = 0; i < 2; ++i) {
        m_notes[i] = new QLabel(discharge);
        grid->addWidget(m_notes[i], 2 + i, 0, 1, 4);
    }
    const std::pair<CValueEdit*, Field> fields[] = {{m_count, Field::Count},
                                                    {m_interval, Field::Interval}};
    for (const auto& [edit, field] : fields) {
        connect(edit, &CValueEdit::Committed, &m_intents,
                [this, e = edit, f = field] { Send(intent::CommitField(f, e->Text())); });
        connect(edit, &CValueEdit::Spun, &m_intents, [this, e = edit, f = field](bool up) {
            Send(intent::SpinField(f, e->Text(), up));
        });
    }

    // Voltage, after the interval in the tab order.
    auto* voltage = new QGroupBox(tr("Voltage"), this);
    auto* voltageBox = new QVBoxLayout(voltage);
    m_voltage = new CValueDlg(ValuePanel::Voltage, voltage);
    voltageBox->addWidget(m_voltage);
    connect(m_voltage, &CValueDlg::Sent, &m_intents, [this](const Intent& i) { Send(i); });

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
    columns->addWidget(BuildPortArea(), 3);
    auto* outer = new QVBoxLayout(this);
    outer->addLayout(columns, 1);
    outer->addWidget(buttons);

    connect(m_port, &QComboBox::currentIndexChanged, &m_intents, [this] {
        if (const std::optional<int32_t> code = CSetOutputPage::CurrentCode(m_port)) {
            Send(intent::SelectPort(*code));
        }
    });
    Render();
}

CSettingDlg::~CSettingDlg() = default;

QWidget* CSettingDlg::BuildPortArea() {
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
    m_pages[int(OutputPage::Ac)] = new CSetOutputAcDlg(frame);
    m_pages[int(OutputPage::Dc)] = new CSetOutputDcDlg(frame);
    m_pages[int(OutputPage::Surge)] = new CSetOutputEnclosureDlg(frame);
    m_pages[int(OutputPage::Telecom)] = new CSetOutputTelDlg(frame);
    m_pages[int(OutputPage::TelecomUnit)] = new CSetOutputTel41x0Dlg(frame);
    m_pages[int(OutputPage::TelecomEd3)] = new CSetOutputTelEd3Dlg(frame);
    const EditorView view = Project(m_state);
    for (size_t i = 0; i < m_pages.size(); ++i) {
        CSetOutputPage* page = m_pages[i];
        if (!page) {
            continue;
        }
        page->hide();
        page->Render(view.pages[i]);
        stack->addWidget(page);
        connect(page, &CSetOutputPage::Sent, &m_intents, [this](const Intent& in) { Send(in); });
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
        // The page may have shown or hidden controls while the dialog is not on screen yet;
        // cached layout sizes would then squeeze the new ones.
        for (QLayout* l : findChildren<QLayout*>()) {
            l->invalidate();
        }
    }
}

void CSettingDlg::Send(const Intent& intent) {
    Apply(m_state, intent);
    Render();
}

void CSettingDlg::Render() {
    const EditorView view = Project(m_state);
    {
        const QSignalBlocker quiet(m_polarityGroup);
        m_polarityGroup->setExclusive(false);
        for (int i = 0; i < 3; ++i) {
            const QSignalBlocker quietRadio(m_polarity[i]);
            m_polarity[i]->setChecked(i == view.polarity);
        }
        m_polarityGroup->setExclusive(true);
    }
    m_count->Show(view.count.text);
    m_interval->Show(view.interval.text);
    for (int i = 0; i < 2; ++i) {
        m_notes[i]->setText(view.intervalNotes.value(i));
    }
    m_voltage->Render(view.voltage);
    CSetOutputPage::RenderCombo(m_port, view.port);
    for (size_t i = 0; i < m_pages.size(); ++i) {
        if (m_pages[i]) {
            m_pages[i]->Render(view.pages[i]);
        }
    }
    ShowOutputPage(view.page);
}

void CSettingDlg::accept() {
    const OkCheckResult check = CheckForOk(m_state.record);
    for (const QString& message : check.messages) {
        ShowMessage(message, MsgButtons::Ok, MsgIcon::Warning);
    }
    if (check.accept) {
        QDialog::accept();
    }
}

}  // namespace zeb

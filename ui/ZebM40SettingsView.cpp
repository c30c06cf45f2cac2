#include "ZebM40SettingsView.h"

#include <QDateTime>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

#include "CurrentMachine.h"
#include "ElidingHeader.h"
#include "ExecDlg.h"
#include "RunPreChecks.h"
#include "SettingDlg.h"
#include "SettingsDoc.h"
#include "StandardVerdict.h"
#include "SummaryStepModel.h"
#include "TestExecutionCommand.h"
#include "TestInfoDlg.h"
#include "ValueLabel.h"
#include "ZebM40Cntl.h"

namespace zeb {

namespace {
// Where each summary row sits in the group box: grid row and column pair (0 left, 1 right).
struct RowPlace {
    int row;
    int pair;
};
constexpr RowPlace kPlace[kSummaryRowCount] = {
    {0, 0},  // output port
    {1, 0},  // output lines
    {2, 0},  // coupling
    {3, 0},  // waveform
    {3, 1},  // ring impedance, beside the waveform
    {4, 0},  // discharge count
    {5, 0},  // interval
    {6, 0},  // voltage
    {7, 0},  // lines (two text lines high)
    {8, 0},  // polarity
    {9, 0},  // synchronisation
    {10, 0}  // phase angle
};
}  // namespace

CZebM40SettingsView::CZebM40SettingsView(CZebM40SettingsDoc& doc, CZebM40Cntl& cntl,
                                         CTestProperty& property, QWidget* parent,
                                         const CurrentMachine* machine)
    : QWidget(parent), m_doc(doc), m_cntl(cntl), m_property(property), m_machine(machine) {
    m_model = new QLabel(this);
    SetValueCaption(m_model, QStringLiteral("Model"));
    QFont bold = m_model->font();
    bold.setBold(true);
    m_model->setFont(bold);
    auto* fixedCaption = new QLabel(QStringLiteral("Test data"), this);

    auto* group = new QGroupBox(QStringLiteral("Test condition"), this);
    auto* grid = new QGridLayout(group);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(4);
    for (int r = 0; r < kSummaryRowCount; ++r) {
        m_captions[r] = new QLabel(group);
        m_values[r] = new QLabel(group);
        m_values[r]->setTextInteractionFlags(Qt::TextSelectableByMouse);
        // A long value (a list of voltages, each with its uses) wraps inside the group box
        // instead of widening the form past the window and pushing the buttons out of sight.
        m_values[r]->setWordWrap(true);
        m_values[r]->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        const int column = kPlace[r].pair * 2;
        grid->addWidget(m_captions[r], kPlace[r].row, column, Qt::AlignLeft | Qt::AlignTop);
        // Only the waveform shares its row; every other value may use the width of the ring
        // impedance column too.
        const bool shared = r == kRowWaveform || r == kRowRingImpedance;
        const int span = shared ? 1 : 3;
        grid->addWidget(m_values[r], kPlace[r].row, column + 1, 1, span, Qt::AlignTop);
    }
    // The plan's test standard, below the test condition.
    m_standardCaption = new QLabel(QStringLiteral("Standard:"), group);
    m_standardValue = new QLabel(group);
    m_standardValue->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_standardValue->setWordWrap(true);
    SetValueCaption(m_standardValue, QStringLiteral("Standard"));
    grid->addWidget(m_standardCaption, kSummaryRowCount, 0, Qt::AlignLeft | Qt::AlignTop);
    grid->addWidget(m_standardValue, kSummaryRowCount, 1, 1, 3, Qt::AlignTop);
    // The line list gets two text lines even when it is short.
    m_values[kRowLines]->setMinimumHeight(2 * fontMetrics().lineSpacing());
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    grid->setColumnMinimumWidth(1, 180);

    m_execute = new QPushButton(QStringLiteral("Test\n&execution..."), this);
    m_settings = new QPushButton(QStringLiteral("Test condition\n&settings..."), this);
    for (QPushButton* b : {m_execute, m_settings}) {
        b->setMinimumSize(130, 52);
    }
    m_execute->setAccessibleName(QStringLiteral("Test execution"));
    m_settings->setAccessibleName(QStringLiteral("Test condition settings"));

    // One finding a line; the rule's citation is the item's tool tip and description.
    m_findings = new QListWidget(this);
    m_findings->setAccessibleName(QStringLiteral("Findings of the standard check"));
    m_findings->setWordWrap(true);
    m_findings->setAlternatingRowColors(true);
    m_findings->setSelectionMode(QAbstractItemView::SingleSelection);
    m_findings->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    m_stepModel = new CSummaryStepModel(m_doc, this);
    m_list = new QTableView(this);
    m_list->setHorizontalHeader(new CElidingHeader(m_list));
    m_list->setModel(m_stepModel);
    m_list->setAccessibleName(QStringLiteral("Test steps"));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setShowGrid(true);
    m_list->setSortingEnabled(false);
    m_list->verticalHeader()->hide();
    m_list->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    m_list->horizontalHeader()->setSectionsClickable(false);
    m_list->horizontalHeader()->setStretchLastSection(false);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_list->setMinimumHeight(140);

    auto* top = new QHBoxLayout;
    top->addWidget(m_model);
    top->addSpacing(12);
    top->addWidget(fixedCaption);
    top->addStretch();
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_execute);
    buttons->addStretch();
    buttons->addWidget(m_settings);
    auto* middle = new QHBoxLayout;
    middle->addWidget(group, 1);
    middle->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 8, 10, 10);
    layout->addLayout(top);
    layout->addLayout(middle);
    layout->addWidget(m_findings);
    layout->addWidget(m_list, 1);

    connect(m_settings, &QPushButton::clicked, this, &CZebM40SettingsView::OnSettings);
    connect(m_execute, &QPushButton::clicked, this, &CZebM40SettingsView::OnExecute);
}

CZebM40SettingsView::~CZebM40SettingsView() = default;

void CZebM40SettingsView::OnInitialUpdate() {
    RefreshSummary();
    RefreshSteps();
}

void CZebM40SettingsView::RefreshSummary() {
    const SummaryContent content = MakeSummary(m_doc.Record());
    ShowValue(m_model, content.modelName);
    for (int r = 0; r < kSummaryRowCount; ++r) {
        const SummaryRow& row = content.rows[r];
        m_captions[r]->setText(row.caption + QLatin1Char(':'));
        SetValueCaption(m_values[r], row.caption);
        ShowValue(m_values[r], row.value);
        m_captions[r]->setVisible(row.visible);
        m_values[r]->setVisible(row.visible);
    }
    RefreshStandard();
}

void CZebM40SettingsView::RefreshStandard() {
    const StandardSummary summary =
        MakeStandardSummary(EvaluateStandard(m_doc, InstalledProfiles()));
    m_standardCaption->setVisible(summary.row.visible);
    m_standardValue->setVisible(summary.row.visible);
    m_findings->setVisible(summary.row.visible);
    ShowValue(m_standardValue, summary.row.value);
    m_findings->clear();
    for (int i = 0; i < summary.lines.size(); ++i) {
        auto* item = new QListWidgetItem(summary.lines.at(i), m_findings);
        if (!summary.citations.at(i).isEmpty()) {
            item->setToolTip(summary.citations.at(i));
            item->setData(Qt::AccessibleDescriptionRole, summary.citations.at(i));
        }
    }
    // Room for two text lines per finding (a finding wraps once at the usual width), up to six;
    // more findings scroll.
    const int items = std::min(6, static_cast<int>(summary.lines.size()));
    const int lines = summary.deviates ? std::min(6, 2 * items) : 1;
    m_findings->setFixedHeight(lines * fontMetrics().lineSpacing() + 4 * items +
                               2 * m_findings->frameWidth() + 4);
}

void CZebM40SettingsView::RefreshSteps() {
    m_stepModel->Refresh();
    if (m_stepModel->rowCount() > 0) {
        m_list->selectRow(0);
        m_list->setCurrentIndex(m_stepModel->index(0, 0));
    }
    ApplyColumnWidths();
}

void CZebM40SettingsView::ApplyColumnWidths() {
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_list);
    const int client = m_list->width() - 2 * m_list->frameWidth();
    const std::vector<int> widths = CSummaryStepModel::ColumnWidths(client, scrollBar);
    for (size_t c = 0; c < widths.size(); ++c) {
        m_list->horizontalHeader()->resizeSection(static_cast<int>(c), widths[c]);
    }
}

int CZebM40SettingsView::ListWidthForHeaders() const {
    // Each column's share of the usable width, in units of 1/4000.
    constexpr int kWhole = 4000;
    const std::vector<int> shares = CSummaryStepModel::ColumnWidths(kWhole, 0);
    const int margins = 2 * style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, m_list) + 2;
    const QFontMetrics metrics = m_list->horizontalHeader()->fontMetrics();
    int usable = 0;
    for (size_t c = 0; c < shares.size(); ++c) {
        if (shares[c] <= 0) {
            continue;
        }
        const QString header =
            m_stepModel->headerData(static_cast<int>(c), Qt::Horizontal).toString();
        const int needed = metrics.horizontalAdvance(header) + margins;
        usable = std::max(usable, (needed * kWhole + shares[c] - 1) / shares[c]);
    }
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_list);
    return usable + scrollBar + 2 * m_list->frameWidth();
}

QSize CZebM40SettingsView::sizeHint() const {
    QSize hint = QWidget::sizeHint();
    const QMargins m = layout()->contentsMargins();
    hint.setWidth(std::max(hint.width(), ListWidthForHeaders() + m.left() + m.right()));
    return hint;
}

void CZebM40SettingsView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    ApplyColumnWidths();
}

void CZebM40SettingsView::OnSettings() {
    CSettingData working = m_doc.Record();
    if (!EditRecord(working)) {
        return;
    }
    m_doc.ApplyRecord(working);
    RefreshSummary();
    RefreshSteps();
}

bool CZebM40SettingsView::EditRecord(CSettingData& record) {
    // The program keeps the hardware version of the instrument it last connected to; a cable
    // pulled since then does not take the newer line configuration away from the editor.
    const int hwVersion = m_machine ? m_machine->m_nCurrentHWVersion
                                    : (m_cntl.IsConnected() ? m_cntl.InstHWVersion() : 0);
    CSettingDlg dlg(record, this, hwVersion);
    if (dlg.exec() != QDialog::Accepted) {
        return false;
    }
    record = dlg.Record();
    return true;
}

void CZebM40SettingsView::OnExecute() {
    TestExecutionSteps steps;
    steps.preChecks = [this] { return PreChecks(); };
    steps.testInfo = [this] { return ShowTestInfo(); };
    steps.execute = [this] { ShowRunDialog(); };
    RunTestExecution(m_doc, m_property, QDateTime::currentSecsSinceEpoch(), steps);
}

bool CZebM40SettingsView::PreChecks() {
    return RunPreChecks(m_cntl, m_doc);
}

bool CZebM40SettingsView::ShowTestInfo() {
    CTestInfoDlg dlg(m_property, this);
    return dlg.exec() == QDialog::Accepted;
}

void CZebM40SettingsView::ShowRunDialog() {
    CExecDlg dlg(m_doc, m_cntl, m_property, RunSessionSettings::Load(), this);
    dlg.SetIssueWindow(true);
    dlg.exec();
    m_lastJournal = dlg.JournalPath();
}

}  // namespace zeb

#include "EutMonitorDlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "AccessibleLabel.h"
#include "ExecData.h"
#include "MonitorProgram.h"
#include "ProcessEutMonitor.h"
#include "ValueLabel.h"

namespace zeb {

namespace {
QSpinBox* SecondsBox(int value, QWidget* parent) {
    auto* box = new QSpinBox(parent);
    box->setRange(EutMonitorSettings::kMinSeconds, EutMonitorSettings::kMaxSeconds);
    box->setSuffix(QStringLiteral(" s"));
    box->setValue(value);
    return box;
}
}  // namespace

CEutMonitorDlg::CEutMonitorDlg(const MonitorRequest& sample, QWidget* parent)
    : QDialog(parent),
      m_rules(LoadMonitorSettings()),
      m_sample(sample),
      m_factory([](const EutMonitorSettings& s, QString* error) -> std::unique_ptr<IEutMonitor> {
          return MakeEutMonitor(s, error);
      }),
      m_chooser([](QWidget* parent, const QString& folder) {
          return QFileDialog::getOpenFileName(parent, QStringLiteral("Monitor program"), folder);
      }) {
    setWindowTitle(QStringLiteral("EUT monitor"));
    const EutMonitorSettings& s = m_rules.Settings();

    m_command = new QLineEdit(s.command, this);
    m_command->setPlaceholderText(
        QStringLiteral("program and arguments, e.g. ping-host 192.0.2.7"));
    m_command->setMinimumWidth(m_command->fontMetrics().averageCharWidth() * 60);
    m_browse = new QPushButton(QStringLiteral("&Browse..."), this);
    m_browse->setToolTip(QStringLiteral("Chooses the program file of the command"));
    m_commandError = new QLabel(this);
    m_commandError->setStyleSheet(QStringLiteral("color: #a00000;"));
    m_commandError->setAccessibleName(QStringLiteral("Command problem"));
    // What the command is, and where a bare program name is found: one text, so it wraps as
    // one block below the field.
    m_places = new QLabel(
        QStringLiteral("The command runs directly, not through a shell, with the step in its "
                       "ZEB_ environment variables. Exit status 0 is PASS; 1 is FAIL, with the "
                       "first line of its output as the step's comment; anything else stops the "
                       "run for the operator to decide.\n"
                       "A program name without a folder is looked for beside the document, then "
                       "in the lab's monitors (%1), then in the shipped monitors (%2), then on "
                       "PATH.")
            .arg(QDir::toNativeSeparators(LabMonitorFolder()),
                 QDir::toNativeSeparators(ShippedMonitorFolder())),
        this);
    m_places->setWordWrap(true);
    m_places->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_timeLimit = SecondsBox(s.timeLimitS, this);

    m_judgeAfter = new QCheckBox(QStringLiteral("&Judge each step after its last discharge"), this);
    m_judgeAfter->setChecked(s.judgeAfterStep);
    m_checkDuring = new QCheckBox(QStringLiteral("&Also check every"), this);
    m_checkDuring->setAccessibleName(QStringLiteral("Also check every N s during the step"));
    m_checkDuring->setChecked(s.checkDuringStep);
    m_every = SecondsBox(s.everyS, this);
    m_every->setAccessibleName(QStringLiteral("Check every N s during the step"));
    m_everyUnit = new QLabel(QStringLiteral("during the step"), this);
    m_stopOnFail = new QCheckBox(QStringLiteral("&Stop the test at the first FAIL"), this);
    m_stopOnFail->setChecked(s.stopOnFail);

    m_test = new QPushButton(QStringLiteral("&Test"), this);
    m_test->setToolTip(QStringLiteral("Runs the command once now, as after a step"));
    m_status = new QLabel(this);
    m_status->setWordWrap(true);
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    SetValueCaption(m_status, QStringLiteral("Test verdict"));
    m_program = new QLabel(this);
    m_program->setWordWrap(true);
    m_program->setTextInteractionFlags(Qt::TextSelectableByMouse);
    SetValueCaption(m_program, QStringLiteral("Program that ran"));
    m_output = new QPlainTextEdit(this);
    m_output->setReadOnly(true);
    m_output->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_output->setAccessibleName(QStringLiteral("Test output"));
    m_output->setMaximumBlockCount(200);
    m_output->setMinimumHeight(m_output->fontMetrics().lineSpacing() * 4 + 8);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);

    auto* form = new QFormLayout;
    auto* command = new QHBoxLayout;
    command->addWidget(m_command, 1);
    command->addWidget(m_browse);
    // The problem and the explanation belong to the field; rows of their own would each keep
    // spacing, shown or not.
    auto* commandColumn = new QVBoxLayout;
    commandColumn->addLayout(command);
    commandColumn->addWidget(m_commandError);
    commandColumn->addWidget(m_places);
    form->addRow(LabelFor(new QLabel(QStringLiteral("&Command:"), this), m_command), commandColumn);
    auto* limit = new QHBoxLayout;
    limit->addWidget(m_timeLimit);
    limit->addStretch();
    form->addRow(LabelFor(new QLabel(QStringLiteral("Time &limit:"), this), m_timeLimit), limit);
    auto* during = new QHBoxLayout;
    during->addWidget(m_checkDuring);
    during->addWidget(m_every);
    during->addWidget(m_everyUnit);
    during->addStretch();
    auto* answer = new QVBoxLayout;
    answer->addWidget(m_status);
    answer->addWidget(m_program);
    auto* test = new QHBoxLayout;
    test->addWidget(m_test, 0, Qt::AlignTop);
    test->addLayout(answer, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_judgeAfter);
    layout->addLayout(during);
    layout->addWidget(m_stopOnFail);
    layout->addSpacing(6);
    layout->addLayout(test);
    layout->addWidget(m_output, 1);  // takes what the wrapped texts do not need
    layout->addWidget(buttons);

    connect(m_command, &QLineEdit::textChanged, this, [this](const QString& text) {
        m_rules.SetCommand(text);
        Render();
    });
    connect(m_timeLimit, &QSpinBox::valueChanged, this, [this](int v) { m_rules.SetTimeLimit(v); });
    connect(m_every, &QSpinBox::valueChanged, this, [this](int v) { m_rules.SetEvery(v); });
    connect(m_judgeAfter, &QCheckBox::toggled, this,
            [this](bool on) { m_rules.SetJudgeAfterStep(on); });
    connect(m_checkDuring, &QCheckBox::toggled, this, [this](bool on) {
        m_rules.SetCheckDuringStep(on);
        Render();
    });
    connect(m_stopOnFail, &QCheckBox::toggled, this,
            [this](bool on) { m_rules.SetStopOnFail(on); });
    connect(m_browse, &QPushButton::clicked, this, &CEutMonitorDlg::OnBrowse);
    connect(m_test, &QPushButton::clicked, this, &CEutMonitorDlg::OnTest);
    connect(buttons, &QDialogButtonBox::accepted, this, &CEutMonitorDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CEutMonitorDlg::reject);
    Render();
}

CEutMonitorDlg::~CEutMonitorDlg() = default;

MonitorRequest CEutMonitorDlg::SampleRequest() {
    return MonitorRequestForStep(CExecData(), 0, 1, MonitorPhase::After, QString());
}

void CEutMonitorDlg::OnBrowse() {
    // The shipped monitors are where a new lab starts, to use one or copy it.
    QString folder = ShippedMonitorFolder();
    if (!QDir(folder).exists() && !m_sample.documentPath.isEmpty()) {
        folder = QFileInfo(m_sample.documentPath).absolutePath();
    }
    if (!QDir(folder).exists()) {
        folder = QDir::homePath();
    }
    const QString path = m_chooser(this, folder);
    if (path.isEmpty()) {
        return;
    }
    m_command->setText(CEutMonitorRules::CommandWithProgram(m_command->text(), path));
    m_command->setFocus();
}

void CEutMonitorDlg::OnTest() {
    if (!m_rules.CanTest()) {
        return;
    }
    QString error;
    m_monitor = m_factory(m_rules.Settings(), &error);
    if (!m_monitor) {
        m_rules.TestNotRun(error);
        Render();
        return;
    }
    m_monitor->SetVerdictListener([this](const MonitorVerdict& v) { OnVerdict(v); });
    m_rules.TestStarted();
    if (!m_monitor->Start(CEutMonitorRules::TestRequest(m_sample))) {
        m_rules.TestNotRun(QStringLiteral("the monitor is busy"));
    }
    Render();
}

void CEutMonitorDlg::OnVerdict(const MonitorVerdict& verdict) {
    m_rules.TestEnded(verdict);
    Render();
}

void CEutMonitorDlg::accept() {
    if (!m_rules.CanAccept()) {
        return;
    }
    StoreMonitorSettings(m_rules.Settings());
    QDialog::accept();
}

void CEutMonitorDlg::done(int result) {
    // A test still running ends with the dialog; its verdict is of no use any more.
    if (m_monitor) {
        m_monitor->Cancel();
    }
    QDialog::done(result);
}

void CEutMonitorDlg::GrowToFit() {
    // Wrapped texts need more height at the same width; the layout alone does not ask for it.
    QLayout* l = layout();
    if (!l || !l->hasHeightForWidth()) {
        return;
    }
    const int needed = l->totalHeightForWidth(width());
    if (needed > height()) {
        resize(width(), needed);
    }
}

void CEutMonitorDlg::Render() {
    const bool options = m_rules.OptionsEnabled();
    m_timeLimit->setEnabled(options);
    m_judgeAfter->setEnabled(options);
    m_checkDuring->setEnabled(options);
    m_every->setEnabled(m_rules.EveryEnabled());
    m_everyUnit->setEnabled(m_rules.EveryEnabled());
    m_stopOnFail->setEnabled(options);
    const QString error = m_rules.CommandError();
    m_commandError->setText(error);
    m_commandError->setVisible(!error.isEmpty());
    m_ok->setEnabled(m_rules.CanAccept());
    m_test->setEnabled(m_rules.CanTest());
    if (m_status->text() != m_rules.StatusText() || m_program->text() != m_rules.ProgramText()) {
        ShowValue(m_status, m_rules.StatusText());
        ShowValue(m_program, m_rules.ProgramText());
        m_program->setVisible(!m_rules.ProgramText().isEmpty());
        GrowToFit();
    }
    if (m_output->toPlainText() != m_rules.OutputText()) {
        m_output->setPlainText(m_rules.OutputText());
    }
}

}  // namespace zeb

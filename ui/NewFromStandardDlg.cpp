#include "NewFromStandardDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "AccessibleLabel.h"
#include "Capabilities.h"
#include "NameTables.h"
#include "ProfileLibrary.h"

namespace zeb {

namespace {
constexpr int kPathColumns = 4;
}

CNewFromStandardDlg::CNewFromStandardDlg(const ProfileSet& profiles, uint32_t machineType,
                                         int32_t hwVersion, QWidget* parent)
    : QDialog(parent), m_profiles(profiles), m_machineType(machineType), m_hwVersion(hwVersion) {
    setWindowTitle(QStringLiteral("New from Standard"));
    m_profile = new QComboBox(this);
    for (const StandardProfile& p : profiles.profiles) {
        m_profile->addItem(p.title, p.id);
    }
    m_port = new QComboBox(this);
    m_configuration = new QComboBox(this);
    m_level = new QComboBox(this);
    m_voltage = new QDoubleSpinBox(this);
    m_voltage->setDecimals(1);
    m_voltage->setSingleStep(0.1);
    m_voltage->setSuffix(QStringLiteral(" kV"));
    m_voltage->setRange(0.1, kGeneratorVoltageMax / 1000.0);
    m_voltage->setValue(1.0);

    auto* form = new QFormLayout;
    form->addRow(LabelFor(new QLabel(QStringLiteral("&Standard:"), this), m_profile), m_profile);
    form->addRow(LabelFor(new QLabel(QStringLiteral("Output &port:"), this), m_port), m_port);
    form->addRow(LabelFor(new QLabel(QStringLiteral("Output &lines:"), this), m_configuration),
                 m_configuration);
    form->addRow(LabelFor(new QLabel(QStringLiteral("Test le&vel:"), this), m_level), m_level);
    form->addRow(LabelFor(new QLabel(QStringLiteral("Level X &voltage:"), this), m_voltage),
                 m_voltage);
    auto* paths = new QGroupBox(QStringLiteral("Paths (INJ - RET)"), this);
    m_pathGrid = new QGridLayout(paths);
    m_note = new QLabel(this);
    m_note->setWordWrap(true);
    m_note->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_note->setAccessibleName(QStringLiteral("What the plan cannot do"));
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = box->button(QDialogButtonBox::Ok);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(paths);
    layout->addWidget(m_note);
    layout->addWidget(box);

    FillPorts();
    FillLevels();
    FillConfigurations();
    connect(m_profile, &QComboBox::currentIndexChanged, this, [this] {
        FillLevels();
        FillPaths();
    });
    connect(m_port, &QComboBox::currentIndexChanged, this, [this] { FillConfigurations(); });
    connect(m_configuration, &QComboBox::currentIndexChanged, this, [this] { FillPaths(); });
    connect(m_level, &QComboBox::currentIndexChanged, this, [this] { Remake(); });
    connect(m_voltage, &QDoubleSpinBox::valueChanged, this, [this] { Remake(); });
    connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    resize(560, sizeHint().height());
}

void CNewFromStandardDlg::FillPorts() {
    const MachineCapabilities caps = CapabilitiesOf(m_machineType, m_hwVersion);
    for (const PortCapabilities& pc : caps.ports) {
        if (!pc.lineConfigurations.empty()) {
            m_port->addItem(pc.name, pc.port);
        }
    }
}

void CNewFromStandardDlg::FillConfigurations() {
    const QSignalBlocker block(m_configuration);
    m_configuration->clear();
    const MachineCapabilities caps = CapabilitiesOf(m_machineType, m_hwVersion);
    if (const PortCapabilities* pc = caps.Port(m_port->currentData().toInt())) {
        for (const LineConfiguration& lc : pc->lineConfigurations) {
            m_configuration->addItem(lc.text.simplified(), lc.code);
        }
    }
    FillPaths();
}

void CNewFromStandardDlg::FillLevels() {
    const QSignalBlocker block(m_level);
    const QString kept = m_level->currentText();
    m_level->clear();
    if (const StandardProfile* p = m_profiles.Find(m_profile->currentData().toString())) {
        for (const ProfileLevel& level : p->levels) {
            m_level->addItem(level.id);
        }
    }
    m_level->setCurrentIndex(std::max(0, m_level->findText(kept)));
}

void CNewFromStandardDlg::FillPaths() {
    for (QCheckBox* b : m_paths) {
        delete b;
    }
    m_paths.clear();
    const StandardProfile* profile = m_profiles.Find(m_profile->currentData().toString());
    const int32_t port = m_port->currentData().toInt();
    const int32_t configuration = m_configuration->currentData().toInt();
    const MachineCapabilities caps = CapabilitiesOf(m_machineType, m_hwVersion);
    const PortCapabilities* pc = caps.Port(port);
    const NameTable* names = LineTable(port, configuration, m_machineType);
    if (profile && pc && names) {
        // Every path the rules ask for is ticked; the operator may add or take away.
        const uint32_t offered = pc->LinesOf(configuration);
        const uint32_t required =
            RequiredPaths(*profile, m_machineType, m_hwVersion, port, configuration, true, true);
        for (int bit = 0; bit < 32; ++bit) {
            if (!(offered & (1u << bit))) {
                continue;
            }
            auto* box = new QCheckBox(names->Lookup(bit).simplified(), this);
            box->setChecked((required & (1u << bit)) != 0);
            box->setProperty("line", bit);
            const int n = static_cast<int>(m_paths.size());
            m_pathGrid->addWidget(box, n / kPathColumns, n % kPathColumns);
            connect(box, &QCheckBox::toggled, this, [this] { Remake(); });
            m_paths.push_back(box);
        }
    }
    Remake();
}

void CNewFromStandardDlg::Remake() {
    const bool anyVoltage = m_level->currentText() == AnyVoltageLevel();
    m_voltage->setEnabled(anyVoltage);
    m_request.standard =
        StandardRef{m_profile->currentData().toString(), m_level->currentText(),
                    anyVoltage ? static_cast<int32_t>(qRound(m_voltage->value() * 1000.0)) : 0};
    m_request.machineType = m_machineType;
    m_request.hwVersion = m_hwVersion;
    m_request.port = m_port->currentData().toInt();
    m_request.configuration = m_configuration->currentData().toInt();
    m_request.lines = 0;
    for (QCheckBox* box : m_paths) {
        if (box->isChecked()) {
            m_request.lines |= 1u << box->property("line").toInt();
        }
    }
    const StandardProfile* profile = m_profiles.Find(m_request.standard.profile);
    QString error;
    const bool made =
        profile && m_request.lines != 0 && GeneratePlan(*profile, m_request, m_plan, error);
    if (!profile) {
        error = QStringLiteral("No standard profile is installed.");
    } else if (m_request.lines == 0) {
        error = QStringLiteral("Tick at least one path.");
    }
    QStringList notes;
    if (made) {
        for (const Finding& f : m_plan.shortfalls) {
            notes << f.text;
        }
        ExecDataList steps;
        m_plan.record.ExpandSteps(steps);
        const std::vector<Finding> findings = CheckPlan(
            m_plan.record, steps, *profile, m_request.standard.level, m_request.standard.voltage);
        QStringList rules;
        for (const Finding& f : findings) {
            rules << f.rule;
        }
        notes << (findings.empty()
                      ? QStringLiteral("The plan makes %1 test steps and has no findings.")
                            .arg(steps.size())
                      : QStringLiteral("The plan makes %1 test steps; its check finds: %2.")
                            .arg(steps.size())
                            .arg(rules.join(QStringLiteral(", "))));
    } else {
        notes << error;
    }
    m_note->setText(notes.join(QLatin1Char('\n')));
    m_ok->setEnabled(made);
}

}  // namespace zeb

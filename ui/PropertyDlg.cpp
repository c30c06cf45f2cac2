#include "PropertyDlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

#include "AccessibleLabel.h"
#include "LabStandard.h"
#include "ProfileLibrary.h"
#include "TestInfoFields.h"
#include "TestProperty.h"

namespace zeb {

CPropertyDlg::CPropertyDlg(CTestProperty& property, QWidget* parent)
    : QDialog(parent), m_property(property) {
    setWindowTitle(QStringLiteral("Options"));
    m_company = new QLineEdit(property.m_strCompanyName, this);
    m_place = new QLineEdit(property.m_strTestPlace, this);
    auto* form = new QFormLayout;
    form->addRow(LabelFor(new QLabel(QStringLiteral("&Company:"), this), m_company), m_company);
    form->addRow(LabelFor(new QLabel(QStringLiteral("&Test location:"), this), m_place), m_place);
    const ReportOptionTexts report = ReadReportOptions(property);
    m_address = new QLineEdit(report.labAddress, this);
    m_logo = new QLineEdit(report.labLogo, this);
    m_logo->setPlaceholderText(QStringLiteral("PNG or SVG file; none when empty"));
    m_browse = new QPushButton(QStringLiteral("&Browse..."), this);
    m_browse->setAccessibleName(QStringLiteral("Browse for the logo"));
    m_browse->setAutoDefault(false);
    m_prefix = new QLineEdit(report.reportPrefix, this);
    auto* logoRow = new QHBoxLayout;
    logoRow->addWidget(m_logo, 1);
    logoRow->addWidget(m_browse);
    form->addRow(LabelFor(new QLabel(QStringLiteral("Lab &address:"), this), m_address), m_address);
    form->addRow(LabelFor(new QLabel(QStringLiteral("&Logo:"), this), m_logo), logoRow);
    form->addRow(LabelFor(new QLabel(QStringLiteral("Report &prefix:"), this), m_prefix), m_prefix);
    m_askLogo = [this] {
        return QFileDialog::getOpenFileName(this, QStringLiteral("Logo"), m_logo->text(),
                                            QStringLiteral("Pictures (*.png *.svg)"));
    };
    connect(m_browse, &QPushButton::clicked, this, [this] {
        const QString path = m_askLogo();
        if (!path.isEmpty()) {
            m_logo->setText(path);
        }
    });
    // The lab's default standard; the profiles that are installed, or none.
    m_standard = new QComboBox(this);
    m_level = new QComboBox(this);
    const DefaultStandardChoices choices = DefaultStandardChoicesOf(InstalledProfiles());
    for (int i = 0; i < choices.profileTexts.size(); ++i) {
        m_standard->addItem(choices.profileTexts.at(i), choices.profileIds.at(i));
    }
    const StandardRef current = LabDefaultStandard();
    m_standard->setCurrentIndex(std::max(0, m_standard->findData(current.profile)));
    FillLevels(current.level);
    form->addRow(LabelFor(new QLabel(QStringLiteral("Default &standard:"), this), m_standard),
                 m_standard);
    form->addRow(LabelFor(new QLabel(QStringLiteral("Default &level:"), this), m_level), m_level);
    connect(m_standard, &QComboBox::currentIndexChanged, this,
            [this] { FillLevels(m_level->currentText()); });
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(box);
    resize(480, sizeHint().height());
    connect(box, &QDialogButtonBox::accepted, this, &CPropertyDlg::accept);
    connect(box, &QDialogButtonBox::rejected, this, &CPropertyDlg::reject);
}

void CPropertyDlg::FillLevels(const QString& keep) {
    m_level->clear();
    m_level->addItems(DefaultLevelsOf(InstalledProfiles(), m_standard->currentData().toString()));
    m_level->setCurrentIndex(std::max(0, m_level->findText(keep)));
    m_level->setEnabled(m_level->count() > 0);
}

void CPropertyDlg::accept() {
    SaveCompanyData(m_property, m_company->text(), m_place->text());
    SaveReportOptions(m_property, {m_address->text(), m_logo->text(), m_prefix->text()});
    const QString profile = m_standard->currentData().toString();
    StoreLabDefaultStandard(profile.isEmpty() || m_level->count() == 0
                                ? StandardRef()
                                : StandardRef{profile, m_level->currentText(), 0});
    QDialog::accept();
}

}  // namespace zeb

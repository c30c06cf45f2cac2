#include "PropertyDlg.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "AccessibleLabel.h"
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
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(box);
    resize(420, sizeHint().height());
    connect(box, &QDialogButtonBox::accepted, this, &CPropertyDlg::accept);
    connect(box, &QDialogButtonBox::rejected, this, &CPropertyDlg::reject);
}

void CPropertyDlg::accept() {
    SaveCompanyData(m_property, m_company->text(), m_place->text());
    QDialog::accept();
}

}  // namespace zeb

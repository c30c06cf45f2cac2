#include "TestInfoDlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "AccessibleLabel.h"
#include "IssuedReport.h"
#include "MessageSeam.h"
#include "TestProperty.h"

namespace zeb {

namespace {
enum Field {
    kTemperature,
    kHumidity,
    kAtm,
    kModel,
    kSerial,
    kOperator,
    kStandard,
    kEutInfo,
    kEutMode,
    kEutComment,
    kFree1Title,
    kFree1,
    kFree2Title,
    kFree2
};
}  // namespace

CTestInfoDlg::CTestInfoDlg(CTestProperty& property, QWidget* parent)
    : QDialog(parent), m_property(property) {
    setWindowTitle(QStringLiteral("Test environment"));
    const auto& table = TestInfoFieldTable();
    const TestInfoTexts texts = ReadTestInfo(property);
    for (int i = 0; i < kTestInfoFieldCount; ++i) {
        m_edits[i] = new QLineEdit(texts[i], this);
    }
    m_date = new QLineEdit(property.GetTestDateText(), this);
    m_time = new QLineEdit(property.GetTestTimeText(), this);
    m_date->setReadOnly(true);
    m_time->setReadOnly(true);

    auto* grid = new QGridLayout;
    auto addRow = [&](int row, int column, const QString& text, QLineEdit* edit, int span = 1) {
        grid->addWidget(LabelFor(new QLabel(text, this), edit), row, column);
        grid->addWidget(edit, row, column + 1, 1, span);
    };
    // Moment of the test on the left, ambient conditions on the right.
    addRow(0, 0, QStringLiteral("Date:"), m_date);
    addRow(1, 0, QStringLiteral("Time:"), m_time);
    addRow(0, 2, QString::fromLatin1(table[kTemperature].label), m_edits[kTemperature]);
    addRow(1, 2, QString::fromLatin1(table[kHumidity].label), m_edits[kHumidity]);
    addRow(2, 2, QString::fromLatin1(table[kAtm].label), m_edits[kAtm]);
    int row = 3;
    for (int f : {kModel, kSerial, kOperator, kStandard, kEutInfo, kEutMode, kEutComment}) {
        addRow(row++, 0, QString::fromLatin1(table[f].label), m_edits[f], 3);
    }
    // The free fields are captioned by their own editable title box.
    for (auto [title, value, name] : {std::tuple{kFree1Title, kFree1, "Free field 1"},
                                      std::tuple{kFree2Title, kFree2, "Free field 2"}}) {
        m_edits[title]->setAccessibleName(QStringLiteral("%1 title").arg(QLatin1String(name)));
        m_edits[value]->setAccessibleName(QLatin1String(name));
        m_edits[title]->setMaximumWidth(140);
        grid->addWidget(m_edits[title], row, 0);
        grid->addWidget(m_edits[value], row, 1, 1, 3);
        ++row;
    }
    // What the issued report adds: the customer, when the EUT arrived, the criterion it must meet.
    const ReportInfoTexts report = ReadReportInfo(property);
    m_customerName = new QLineEdit(report.customerName, this);
    m_customerAddress = new QLineEdit(report.customerAddress, this);
    m_receipt = new QLineEdit(report.dateOfReceipt, this);
    m_criterion = new QComboBox(this);
    for (const char* code : CriterionCodes()) {
        m_criterion->addItem(CriterionText(QLatin1String(code)), QLatin1String(code));
    }
    // A stored value that is none of them is shown, and kept, as it is.
    if (m_criterion->findData(report.criterion) < 0) {
        m_criterion->addItem(report.criterion, report.criterion);
    }
    m_criterion->setCurrentIndex(m_criterion->findData(report.criterion));
    addRow(row++, 0, QStringLiteral("Customer:"), m_customerName, 3);
    addRow(row++, 0, QStringLiteral("Customer address:"), m_customerAddress, 3);
    addRow(row++, 0, QStringLiteral("Date of receipt:"), m_receipt, 3);
    grid->addWidget(
        LabelFor(new QLabel(QStringLiteral("Required performance criterion:"), this), m_criterion),
        row, 0);
    grid->addWidget(m_criterion, row, 1, 1, 3);
    ++row;
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    m_save = new QPushButton(QStringLiteral("&Save"), this);
    m_save->setAutoDefault(false);
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_save);
    buttons->addStretch();
    buttons->addWidget(box);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    resize(560, sizeHint().height());

    connect(m_save, &QPushButton::clicked, this, &CTestInfoDlg::OnSave);
    connect(box, &QDialogButtonBox::accepted, this, &CTestInfoDlg::accept);
    connect(box, &QDialogButtonBox::rejected, this, &CTestInfoDlg::reject);
}

TestInfoTexts CTestInfoDlg::Texts() const {
    TestInfoTexts texts;
    for (int i = 0; i < kTestInfoFieldCount; ++i) {
        texts[i] = m_edits[i]->text();
    }
    return texts;
}

ReportInfoTexts CTestInfoDlg::ReportTexts() const {
    return {m_customerName->text(), m_customerAddress->text(), m_receipt->text(),
            m_criterion->currentData().toString()};
}

void CTestInfoDlg::accept() {
    TakeTestInfo(m_property, Texts());
    TakeReportInfo(m_property, ReportTexts());
    QDialog::accept();
}

void CTestInfoDlg::OnSave() {
    if (ShowMessage(QStringLiteral("Save?"), MsgButtons::OkCancel, MsgIcon::Question) !=
        MsgAnswer::Ok) {
        return;
    }
    SaveTestInfo(m_property, Texts());
    SaveReportInfo(m_property, ReportTexts());
}

}  // namespace zeb

#include "TypeSelectDlg.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "AccessibleLabel.h"

namespace zeb {

CTypeSelectDlg::CTypeSelectDlg(const QString& accessProblems, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Machine selection"));
    auto* failed = new QLabel(
        QStringLiteral("It failed in the communication with the ZEB-M40 / ZEB-M50."), this);
    auto* startHint =
        new QLabel(QStringLiteral("1:When you start without the instrument, choose the model "
                                  "and press Start"),
                   this);
    auto* retryHint = new QLabel(
        QStringLiteral("2:When you try the communication with the ZEB-M40 / ZEB-M50 again"), this);
    auto* retryHint2 =
        new QLabel(QStringLiteral("   check the cable and the power, then press Retry"), this);
    auto* exitHint = new QLabel(QStringLiteral("3:To end the program, press Exit"), this);

    m_list = new QListWidget(this);
    // The rows are padded to equal width; a fixed-pitch face keeps them in columns.
    m_list->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    const std::vector<MachineChoice> rows = MachineSelectionList();
    for (const MachineChoice& row : rows) {
        auto* item = new QListWidgetItem(row.text, m_list);
        item->setData(Qt::UserRole, row.code);
    }
    m_list->setCurrentRow(PreselectedRow(rows, StoredMachineTypeText()));
    auto* listLabel = LabelFor(new QLabel(QStringLiteral("&Model:"), this), m_list);

    m_start = new QPushButton(QStringLiteral("&Start"), this);
    m_retry = new QPushButton(QStringLiteral("&Retry"), this);
    m_exit = new QPushButton(QStringLiteral("E&xit"), this);
    m_start->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(failed);
    layout->addSpacing(6);
    layout->addWidget(startHint);
    layout->addWidget(listLabel);
    layout->addWidget(m_list);
    layout->addWidget(retryHint);
    layout->addWidget(retryHint2);
    layout->addWidget(exitHint);
    if (!accessProblems.isEmpty()) {
        auto* access = new QLabel(accessProblems, this);
        access->setWordWrap(true);
        access->setStyleSheet(QStringLiteral("color: #a00000;"));
        access->setAccessibleName(QStringLiteral("Serial port access"));
        layout->addSpacing(6);
        layout->addWidget(access);
    }
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_start);
    buttons->addWidget(m_retry);
    buttons->addWidget(m_exit);
    layout->addLayout(buttons);
    m_list->setFixedHeight(m_list->sizeHintForRow(0) * static_cast<int>(rows.size()) +
                           2 * m_list->frameWidth() + 4);

    connect(m_start, &QPushButton::clicked, this, &CTypeSelectDlg::OnStart);
    connect(m_retry, &QPushButton::clicked, this, &CTypeSelectDlg::OnRetry);
    connect(m_exit, &QPushButton::clicked, this, [this] {
        m_nResult = typeselect::kExit;
        reject();
    });
    connect(m_list, &QListWidget::itemDoubleClicked, this, &CTypeSelectDlg::OnStart);
}

void CTypeSelectDlg::OnStart() {
    const QListWidgetItem* item = m_list->currentItem();
    if (!item) {
        return;
    }
    m_nResult = typeselect::kStart;
    m_ulChosenType = item->data(Qt::UserRole).toUInt();
    StoreMachineType(m_ulChosenType);
    accept();
}

void CTypeSelectDlg::OnRetry() {
    m_nResult = typeselect::kRetry;
    accept();
}

}  // namespace zeb

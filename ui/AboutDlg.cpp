#include "AboutDlg.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QVBoxLayout>

#include "ValueLabel.h"
#include "Version.h"

namespace zeb {

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("About Remote control software"));
    auto* icon = new QLabel(this);
    icon->setPixmap(QApplication::windowIcon().pixmap(48, 48));
    icon->setAccessibleName(QStringLiteral("Program icon"));
    auto* name = new QLabel(QStringLiteral("Remote control software for ZEB-M40 / ZEB-M50"), this);
    // The version field holds the version text alone; its caption stands beside it.
    auto* version = new QLabel(GetVersionString(), this);
    version->setObjectName(QStringLiteral("version"));
    SetValueCaption(version, QStringLiteral("Version"));
    version->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* versionRow = new QHBoxLayout;
    versionRow->addWidget(new QLabel(QStringLiteral("Version"), this));
    versionRow->addWidget(version);
    versionRow->addStretch();
    auto* texts = new QVBoxLayout;
    texts->addWidget(name);
    texts->addLayout(versionRow);
    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addLayout(texts, 1);
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 12);
    layout->addLayout(top);
    layout->addSpacing(12);
    layout->addWidget(box);
    connect(box, &QDialogButtonBox::accepted, this, &CAboutDlg::accept);
}

}  // namespace zeb

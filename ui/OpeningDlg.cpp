#include "OpeningDlg.h"

#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QPalette>
#include <QVBoxLayout>

#include "Version.h"

namespace zeb {

COpeningDlg::COpeningDlg(QWidget* parent)
    : QDialog(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setWindowTitle(QStringLiteral("ZEB-M40 / ZEB-M50"));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(225, 225, 225));
    palette.setColor(QPalette::WindowText, QColor(0, 0, 255));
    setPalette(palette);
    setAutoFillBackground(true);

    m_title = new QLabel(QStringLiteral("ZEB-M40 / ZEB-M50\nRemote control software"), this);
    QFont titleFont(QStringLiteral("Sans Serif"));
    titleFont.setStyleHint(QFont::SansSerif);
    titleFont.setPixelSize(30);
    titleFont.setWeight(QFont::Bold);
    m_title->setFont(titleFont);
    m_title->setAlignment(Qt::AlignCenter);

    // The version field holds the version text alone (empty for a build without one); its
    // caption stands beside it.
    auto* versionCaption = new QLabel(QStringLiteral("Version"), this);
    m_version = new QLabel(GetVersionString(), this);
    m_version->setAccessibleName(QStringLiteral("Version"));
    auto* versionRow = new QHBoxLayout;
    versionRow->addStretch();
    versionRow->addWidget(versionCaption);
    versionRow->addWidget(m_version);
    versionRow->addStretch();
    // The serial ports were scanned before this dialog shows; it only covers the rest of start-up.
    auto* status = new QLabel(QStringLiteral("Starting ..."), this);
    status->setAlignment(Qt::AlignCenter);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(40, 32, 40, 24);
    layout->addWidget(m_title);
    layout->addSpacing(16);
    layout->addLayout(versionRow);
    layout->addWidget(status);
}

}  // namespace zeb

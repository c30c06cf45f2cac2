#include "RemoteDlg.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "AccessibleLabel.h"
#include "ValueLabel.h"

namespace zeb {

CRemoteDlg::CRemoteDlg(CZebM40Cntl& cntl, CurrentMachine& machine, QWidget* parent)
    : QDialog(parent), m_monitor(cntl, machine) {
    setWindowTitle(QStringLiteral("Connection"));
    m_model = new QLabel(this);
    SetValueCaption(m_model, QStringLiteral("Model"));
    m_link = new QLineEdit(this);
    m_link->setReadOnly(true);
    m_reconnect = new QPushButton(QStringLiteral("&Reconnect"), this);
    m_reconnect->setAutoDefault(false);
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok, this);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Model:"), this), 0, 0);
    grid->addWidget(m_model, 0, 1, 1, 2);
    grid->addWidget(LabelFor(new QLabel(QStringLiteral("&Instrument:"), this), m_link), 1, 0);
    grid->addWidget(m_link, 1, 1);
    grid->addWidget(m_reconnect, 1, 2);
    grid->setColumnStretch(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(box);
    resize(400, sizeHint().height());

    connect(box, &QDialogButtonBox::accepted, this, &CRemoteDlg::accept);
    connect(m_reconnect, &QPushButton::clicked, this, &CRemoteDlg::OnReconnect);
    connect(&m_timer, &QTimer::timeout, this, &CRemoteDlg::OnTimer);
    Render();
    m_timer.start(CRemoteMonitor::kTickMs);
}

void CRemoteDlg::OnTimer() {
    // The watch may block for a whole port scan; no tick may queue up meanwhile.
    m_timer.stop();
    m_monitor.Tick();
    Render();
    m_timer.start(CRemoteMonitor::kTickMs);
}

void CRemoteDlg::OnReconnect() {
    m_monitor.Reconnect();
    Render();
}

void CRemoteDlg::Render() {
    ShowValue(m_model, m_monitor.ModelName());
    m_link->setText(m_monitor.LinkText());
}

}  // namespace zeb

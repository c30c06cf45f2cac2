#pragma once
// The connection dialog: shows whether an instrument is connected and which model the program
// works with, watches the link once a second and reconnects by itself or on request.

#include <QDialog>
#include <QTimer>

#include "RemoteMonitor.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace zeb {

class CRemoteDlg : public QDialog {
public:
    CRemoteDlg(CZebM40Cntl& cntl, CurrentMachine& machine, QWidget* parent = nullptr);

    QLabel* ModelLabel() const { return m_model; }
    QLineEdit* LinkEdit() const { return m_link; }
    QPushButton* ReconnectButton() const { return m_reconnect; }
    QTimer& WatchTimer() { return m_timer; }

private:
    void OnTimer();
    void OnReconnect();
    void Render();

    CRemoteMonitor m_monitor;
    QTimer m_timer;
    QLabel* m_model = nullptr;
    QLineEdit* m_link = nullptr;
    QPushButton* m_reconnect = nullptr;
};

}  // namespace zeb

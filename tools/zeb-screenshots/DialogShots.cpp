// The small dialogs: test environment, options, connection, machine selection, opening, EUT
// monitor and about.

#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "AboutDlg.h"
#include "EutMonitorDlg.h"
#include "OpeningDlg.h"
#include "PropertyDlg.h"
#include "RemoteDlg.h"
#include "Shots.h"
#include "TestInfoDlg.h"
#include "TypeSelectDlg.h"
#include "ZebM40App.h"

namespace zebshots {

void DialogShots(ShotFolder& shots, zeb::CZebM40App& app) {
    zeb::CTestProperty& property = app.TestProperty();
    property.m_strCompanyName = QStringLiteral("Example EMC Laboratory");
    property.m_strTestPlace = QStringLiteral("Shielded room 2");
    property.m_strModel = QStringLiteral("PS-230 power supply");
    property.m_strSerial = QStringLiteral("SN 0042");
    property.m_strOperator = QStringLiteral("J. Example");
    property.m_strTemperature = QStringLiteral("23");
    property.m_strHumidity = QStringLiteral("45");
    property.m_strAtm = QStringLiteral("101");
    property.m_strEutMode = QStringLiteral("Full load");
    {
        zeb::CTestInfoDlg info(property);
        shots.Save(info, QStringLiteral("dialog-test-environment"));
    }
    {
        zeb::CPropertyDlg options(property);
        shots.Save(options, QStringLiteral("dialog-options"));
    }
    {
        zeb::CRemoteDlg remote(app.Cntl(), app.Machine());
        shots.Save(remote, QStringLiteral("dialog-connection"));
    }
    {
        zeb::CTypeSelectDlg select;
        shots.Save(select, QStringLiteral("dialog-machine-selection"));
    }
    {
        zeb::CTypeSelectDlg select(
            QStringLiteral("Permission denied: /dev/ttyUSB0 belongs to group dialout; add your "
                           "user to it and log in again."));
        shots.Save(select, QStringLiteral("dialog-machine-selection-port-problem"));
    }
    {
        zeb::COpeningDlg opening;
        shots.Save(opening, QStringLiteral("dialog-opening"));
    }
    {
        zeb::CEutMonitorDlg monitor;
        monitor.CommandEdit()->setText(QStringLiteral("ping-host 192.0.2.7"));
        shots.Save(monitor, QStringLiteral("dialog-eut-monitor"));
        // A test whose command answers FAIL, as a monitor of the EUT's display would.
        monitor.CommandEdit()->setText(
            QStringLiteral("sh -c 'echo \"display dark after step $ZEB_STEP\"; exit 1'"));
        monitor.TestButton()->click();
        QElapsedTimer waited;
        waited.start();
        while (monitor.Rules().Testing() && waited.elapsed() < 10000) {
            QEventLoop pause;
            QTimer::singleShot(50, &pause, &QEventLoop::quit);
            pause.exec();
        }
        shots.Save(monitor, QStringLiteral("dialog-eut-monitor-test"));
    }
    {
        zeb::CAboutDlg about;
        shots.Save(about, QStringLiteral("dialog-about"));
    }
    ReportShots(shots, property);
}

}  // namespace zebshots

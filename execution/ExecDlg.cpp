#include "ExecDlg.h"

#include <QCloseEvent>

#include "DesktopReportOpener.h"
#include "RunSequencer.h"
#include "SettingsDoc.h"
#include "TestReport.h"
#include "TimerHost.h"

namespace zeb {

CExecDlg::CExecDlg(CZebM40SettingsDoc& doc, CZebM40Cntl& cntl, CTestProperty& property,
                   QWidget* parent)
    : QDialog(parent), m_doc(doc), m_cntl(cntl), m_property(property) {
    m_reportFolder = DefaultReportFolder();
}

CExecDlg::~CExecDlg() = default;

void CExecDlg::SetReportOpener(IReportOpener* opener) {
    m_opener = opener;
}
void CExecDlg::SetReportFolder(const QString& folder) {
    m_reportFolder = folder;
}

int CExecDlg::exec() {
    if (m_doc.Steps().empty()) {
        return QDialog::Rejected;
    }
    return QDialog::exec();
}

CRunSequencer& CExecDlg::Sequencer() {
    return *m_sequencer;
}

void CExecDlg::closeEvent(QCloseEvent* event) {
    QDialog::closeEvent(event);
}
void CExecDlg::reject() {}
bool CExecDlg::eventFilter(QObject* watched, QEvent* event) {
    return QDialog::eventFilter(watched, event);
}
void CExecDlg::WriteReport() {}

}  // namespace zeb

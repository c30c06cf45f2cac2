#include "ExecDlg.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStatusTipEvent>
#include <QStyle>
#include <QTableView>
#include <QTimer>

#include "DesktopReportOpener.h"
#include "ExecWidgets.h"
#include "IssueReportDlg.h"
#include "JudgeDlg.h"
#include "MessageSeam.h"
#include "MonitorGate.h"
#include "RunSequencer.h"
#include "RunSession.h"
#include "SettingsDoc.h"
#include "TestReport.h"
#include "ValueLabel.h"

namespace zeb {

CExecDlg::CExecDlg(CZebM40SettingsDoc& doc, CZebM40Cntl& cntl, CTestProperty& property,
                   RunSessionSettings settings, QWidget* parent)
    : QDialog(parent),
      m_doc(doc),
      m_property(property),
      m_session(std::make_unique<CRunSession>(doc, cntl, property, std::move(settings))),
      m_w(std::make_unique<CExecWidgets>()) {
    // No close box: only Close ends the dialog, and only when no test runs.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setWindowTitle(QStringLiteral("Test execution"));
    m_w->Build(this);
    m_w->list->setModel(&Sequencer().ListModel());
    Connect();
    // A monitor command that cannot be used is told when the dialog opens, so nobody believes
    // the steps are being watched when they are not.
    m_session->UseMonitorOfSettings(m_monitorError);
    resize(900, 600);
}

void CExecDlg::SetEutMonitor(std::unique_ptr<IEutMonitor> monitor,
                             const MonitorGateOptions& options) {
    m_monitorError.clear();
    m_session->SetMonitor(std::move(monitor), options);
}

CMonitorGate* CExecDlg::MonitorGate() {
    return m_session->Gate();
}

CExecDlg::~CExecDlg() {
    // QDialog's own destructor still hides the window, which moves the focus: nothing of this
    // class may be reached from then on.
    disconnect(m_focusConnection);
    qApp->removeEventFilter(this);
    m_session->SetStateListener(nullptr);
    End();
}

void CExecDlg::SetReportOpener(IReportOpener* opener) {
    m_opener = opener;
}
void CExecDlg::SetReportFolder(const QString& folder) {
    m_session->SetReportFolder(folder);
}
void CExecDlg::SetJournalFolder(const QString& folder) {
    m_session->SetJournalFolder(folder);
}
QString CExecDlg::JournalPath() const {
    return m_session->JournalPath();
}

CRunSequencer& CExecDlg::Sequencer() {
    return m_session->Sequencer();
}

void CExecDlg::Connect() {
    CRunSequencer& seq = Sequencer();
    m_session->SetStateListener([this] { Render(); });
    m_session->SetJournalFailureListener([this](const QString& text) { OnJournalFailed(text); });
    seq.SetReportWriter([this] { return WriteReport(); });
    ConnectLineButton(m_w->lineOn, &CRunSequencer::OnLineOn);
    ConnectLineButton(m_w->lineOff, &CRunSequencer::OnLineOff);
    connect(m_w->start, &QPushButton::clicked, this, [&seq] { seq.OnStart(); });
    connect(m_w->stop, &QPushButton::clicked, this, [&seq] { seq.OnStop(); });
    connect(m_w->report, &QPushButton::clicked, this, [&seq] { seq.OnReport(); });
    connect(m_w->close, &QPushButton::clicked, this, [this] { RequestClose(); });
    connect(m_w->bulkApply, &QPushButton::clicked, this,
            [this, &seq] { seq.OnBulkJudgement(m_w->bulkCombo->currentData().toInt()); });
    connect(m_w->deleteComments, &QPushButton::clicked, this, [&seq] { seq.OnDeleteComments(); });
    m_w->stepSpin->onStep = [&seq](int delta) { seq.OnStepSpin(delta); };
    connect(m_w->list->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this, &seq](const QModelIndex& current) {
                if (!m_rendering && current.isValid() && current.row() != seq.State().selectedRow) {
                    seq.OnRowSelected(current.row());
                }
            });
    connect(m_w->list, &QTableView::doubleClicked, this,
            [this](const QModelIndex& index) { OpenJudgement(index.row()); });
    m_focusConnection =
        connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
            const ExecControl control = ControlOf(now);
            if (control != ExecControl::None) {
                Sequencer().NoteFocus(control);
                m_renderedFocus = static_cast<int>(control);
            }
        });
    // Keys reach the focused control first; the run's keyboard rules come before its own.
    qApp->installEventFilter(this);
    m_w->list->viewport()->installEventFilter(this);
}

// LINE ON and LINE OFF switch the EUT line, so each acts exactly once per operator action.
// A click, the space bar or a screen reader's press checks the radio and then clicks it; a
// screen reader's toggle action only checks it. The radio acts when it becomes checked and, on
// a click that left it as it was (already checked), when the click ends. Render() sets the
// radios with their signals blocked, so showing the instrument's state never switches it.
void CExecDlg::ConnectLineButton(QPushButton* button, void (CRunSequencer::*act)()) {
    connect(button, &QPushButton::pressed, this, [this] { m_lineActed = nullptr; });
    connect(button, &QPushButton::toggled, this, [this, button, act](bool on) {
        if (on) {
            m_lineActed = button;
            (Sequencer().*act)();
        }
    });
    connect(button, &QPushButton::clicked, this, [this, button, act] {
        const bool acted = m_lineActed == button;
        m_lineActed = nullptr;
        if (!acted) {
            (Sequencer().*act)();
        }
    });
}

bool CExecDlg::Begin() {
    if (m_begun || m_doc.Steps().empty()) {
        return m_begun;
    }
    // Every opening is journalled from here to End(), before anything is sent.
    QString error;
    QString resumeError;
    m_session->OpenJournal(error, resumeError);
    if (!resumeError.isEmpty()) {
        ShowMessage(resumeError, MsgButtons::Ok, MsgIcon::Warning);
    }
    m_begun = m_session->Open();
    if (m_begun && !m_monitorError.isEmpty()) {
        ShowMessage(QStringLiteral("The EUT monitor is not used: %1").arg(m_monitorError),
                    MsgButtons::Ok, MsgIcon::Warning);
    }
    return m_begun;
}

void CExecDlg::End() {
    if (m_begun) {
        m_begun = false;
        m_session->Close();
    }
}

int CExecDlg::exec() {
    if (!Begin()) {
        return QDialog::Rejected;
    }
    const int result = QDialog::exec();
    End();
    return result;
}

QWidget* CExecDlg::WidgetFor(ExecControl control) const {
    switch (control) {
        case ExecControl::LineOn:
            return m_w->lineOn;
        case ExecControl::LineOff:
            return m_w->lineOff;
        case ExecControl::Start:
            return m_w->start;
        case ExecControl::Stop:
            return m_w->stop;
        case ExecControl::List:
            return m_w->list;
        case ExecControl::Close:
            return m_w->close;
        default:
            return nullptr;
    }
}

ExecControl CExecDlg::ControlOf(const QWidget* widget) const {
    if (!widget || (widget != this && !isAncestorOf(widget))) {
        return ExecControl::None;
    }
    for (ExecControl c : {ExecControl::LineOn, ExecControl::LineOff, ExecControl::Start,
                          ExecControl::Stop, ExecControl::List, ExecControl::Close}) {
        if (WidgetFor(c) == widget) {
            return c;
        }
    }
    return ExecControl::Other;
}

void CExecDlg::Render() {
    const RunView v = Project(m_session->State());
    CExecWidgets& w = *m_w;
    m_rendering = true;
    w.lineOn->setEnabled(v.lineOnEnabled);
    w.lineOff->setEnabled(v.lineOffEnabled);
    {
        const QSignalBlocker quietOn(w.lineOn);
        const QSignalBlocker quietOff(w.lineOff);
        if (v.line == LineShown::On) {
            w.lineOn->setChecked(true);
        } else if (v.line == LineShown::Off) {
            w.lineOff->setChecked(true);
        }
    }
    w.start->setEnabled(v.startEnabled);
    w.stop->setEnabled(v.stopEnabled);
    w.ShowStartAction(v.startAction == StartAction::Pause, v.startAction == StartAction::Resume);
    w.start->setDefault(v.defaultButton == ExecControl::Start);
    w.stop->setDefault(v.defaultButton == ExecControl::Stop);
    w.lamp->setPixmap(v.lampLit ? w.lampLit : w.lampDark);
    w.pauseLabel->setVisible(v.pauseVisible);
    w.processingLabel->setVisible(v.processingVisible);
    w.notConnectedLabel->setVisible(v.notConnectedVisible);
    w.checkingLabel->setVisible(v.checkingVisible);
    w.journalLabel->setVisible(v.journalNoticeVisible);
    w.impedanceCaption->setVisible(v.impedanceVisible);
    w.impedanceColon->setVisible(v.impedanceVisible);
    w.impedance->setVisible(v.impedanceVisible);
    for (QWidget* c : {static_cast<QWidget*>(w.bulkCombo), static_cast<QWidget*>(w.bulkApply),
                       static_cast<QWidget*>(w.deleteComments), static_cast<QWidget*>(w.report)}) {
        c->setEnabled(v.judgementEnabled);
    }
    ShowValue(w.stepNumber, v.stepNumber);
    ShowValue(w.stepTotal, v.stepTotal);
    ShowValue(w.dischargeDone, v.dischargeDone);
    ShowValue(w.dischargeTotal, v.dischargeTotal);
    ShowValue(w.countdown, v.countdown);
    ShowValue(w.interval, v.interval);
    ShowValue(w.outputPort, v.outputPort);
    ShowValue(w.outputLines, v.outputLines);
    ShowValue(w.waveform, v.waveform);
    ShowValue(w.impedance, v.impedance);
    ShowValue(w.remaining, v.remaining);
    if (v.selectedRow >= 0 && w.list->currentIndex().row() != v.selectedRow) {
        w.list->selectRow(v.selectedRow);
        w.list->scrollTo(w.list->model()->index(v.selectedRow, 0));
    }
    const ExecControl focus = m_session->Sequencer().Facts().focus;
    if (static_cast<int>(focus) != m_renderedFocus) {
        m_renderedFocus = static_cast<int>(focus);
        if (QWidget* target = WidgetFor(focus)) {
            target->setFocus();
        }
    }
    m_rendering = false;
    TellJournalFailure();
}

// A journal that cannot be written never holds the run: the dialog and the main window's status
// bar say so at once, and the whole message follows once no test is under way.
void CExecDlg::OnJournalFailed(const QString& text) {
    m_journalNotice = text;
    m_w->journalLabel->setToolTip(text);
    m_w->journalLabel->setAccessibleDescription(text);
    m_w->journalLabel->setVisible(true);
    if (parentWidget()) {
        QStatusTipEvent tip(QStringLiteral("The run journal cannot be written"));
        QApplication::sendEvent(parentWidget(), &tip);
    }
}

void CExecDlg::TellJournalFailure() {
    const RunPhase phase = Sequencer().Phase();
    if (m_journalNotice.isEmpty() || m_journalTold || TestUnderWay(phase) ||
        phase == RunPhase::Starting) {
        return;
    }
    m_journalTold = true;
    // Not from inside the transition that ended the test: the message comes after it.
    QTimer::singleShot(
        0, this, [text = m_journalNotice] { ShowMessage(text, MsgButtons::Ok, MsgIcon::Warning); });
}

void CExecDlg::RequestClose() {
    if (m_closing) {
        return;
    }
    if (Sequencer().OnClose()) {
        m_closing = true;
        accept();
    }
}

void CExecDlg::closeEvent(QCloseEvent* event) {
    // A close request from the window manager follows the rules of the Close button.
    if (!m_closing) {
        event->ignore();
        RequestClose();
        return;
    }
    QDialog::closeEvent(event);
}

// Esc (and the dialog's own cancel) never closes the run.
void CExecDlg::reject() {}

void CExecDlg::OpenJudgement(int row) {
    if (!Sequencer().CanJudge(row)) {
        return;
    }
    const CExecData& step = m_doc.Steps()[static_cast<size_t>(row)];
    CJudgeDlg judge(this);
    judge.SetStep(row + 1);
    judge.m_nJudgement = step.m_nResult;
    judge.m_strComment = step.m_strComment;
    if (judge.exec() == QDialog::Accepted) {
        Sequencer().ApplyJudgement(row, judge.m_nJudgement, judge.m_strComment);
    }
}

// Each column keeps its share of the list's width, less room for a vertical scroll bar.
void CExecDlg::FitColumns() {
    QTableView* list = m_w->list;
    const int scrollBar = list->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    // Asked before the dialog is on screen too: the scroll bar's own visibility counts, not the
    // window's, or the columns keep a gap the width of a scroll bar once the dialog shows.
    const bool barShown = list->verticalScrollBar()->isVisibleTo(list);
    const int width = list->viewport()->width() - (barShown ? 0 : scrollBar);
    for (int c = 0; c < CStepListModel::kColumnCount; ++c) {
        list->setColumnWidth(c, width * CStepListModel::WidthEightieths(c) / 80);
    }
}

QString CExecDlg::WriteReport() {
    IReportOpener* opener = m_opener;
    if (!opener) {
        if (!m_desktopOpener) {
            m_desktopOpener = std::make_unique<CDesktopReportOpener>();
        }
        opener = m_desktopOpener.get();
    }
    // The file is recorded as soon as it is written, before anything tries to open it.
    class RecordingOpener : public IReportOpener {
    public:
        RecordingOpener(IReportOpener& inner, CRunSequencer& seq) : m_inner(inner), m_seq(seq) {}
        bool OpenReport(const QString& path) override {
            m_seq.ReportWritten(path);
            return m_inner.OpenReport(path);
        }

    private:
        IReportOpener& m_inner;
        CRunSequencer& m_seq;
    } recording(*opener, Sequencer());
    const QString folder = m_session->Settings().reportFolder;
    const QString path = MakeTestReport(m_property, m_doc, recording, folder);
    // The main window's status bar says where the workbook went: a status tip climbs from the
    // window that opened this dialog up to it.
    if (!path.isEmpty() && parentWidget()) {
        QStatusTipEvent tip(
            QStringLiteral("Test report saved as %1").arg(QDir::toNativeSeparators(path)));
        QApplication::sendEvent(parentWidget(), &tip);
    }
    if (m_issueWindow) {
        IssueRunReport(m_doc, m_property, m_session->JournalFile(), folder, this);
    }
    return path;
}

}  // namespace zeb

#include "RunSession.h"

#include <QFileInfo>

#include "JournalRecovery.h"
#include "MessageSeam.h"
#include "ProcessEutMonitor.h"
#include "RunJournalObserver.h"
#include "SettingsDoc.h"
#include "TestReport.h"
#include "TimerHost.h"

namespace zeb {

RunSessionSettings RunSessionSettings::Load() {
    RunSessionSettings s;
    s.journalFolder = DefaultJournalFolder();
    s.reportFolder = DefaultReportFolder();
    s.monitor = LoadMonitorSettings();
    return s;
}

bool AskOperatorToGoOn(const MonitorVerdict& verdict) {
    return ShowMessage(MonitorProblemQuestion(verdict.request.step, verdict.comment),
                       MsgButtons::OkCancel, MsgIcon::Warning) == MsgAnswer::Ok;
}

CRunSession::CRunSession(CZebM40SettingsDoc& doc, CZebM40Cntl& cntl, const CTestProperty& property,
                         RunSessionSettings settings, ITimerHost* timers)
    : m_doc(doc),
      m_cntl(cntl),
      m_property(property),
      m_settings(std::move(settings)),
      m_ownTimers(timers ? nullptr
                         : std::make_unique<CQtTimerHost>([this](int id) { OnTimer(id); })),
      m_timers(timers ? timers : m_ownTimers.get()),
      m_seq(doc, cntl, *m_timers),
      m_answer(AskOperatorToGoOn) {
    m_seq.SetStateListener([this] { Changed(); });
    m_seq.SetProblemAnswer(m_answer);
}

CRunSession::~CRunSession() {
    m_seq.SetStateListener(nullptr);
    Close();
}

bool CRunSession::UseMonitorOfSettings(QString& error) {
    if (!m_settings.monitor.Enabled()) {
        return true;
    }
    std::unique_ptr<IEutMonitor> monitor = MakeEutMonitor(m_settings.monitor, &error);
    if (!monitor) {
        return false;
    }
    SetMonitor(std::move(monitor), MonitorGateOptions::From(m_settings.monitor));
    return true;
}

void CRunSession::SetMonitor(std::unique_ptr<IEutMonitor> monitor,
                             const MonitorGateOptions& options) {
    DropMonitor();
    m_monitor = std::move(monitor);
    if (!m_monitor) {
        return;
    }
    m_gate = std::make_unique<CMonitorGate>(m_doc, *m_monitor, options, m_settings.documentPath);
    m_gate->SetCheckingListener([this](bool) { Changed(); });
    // What the gate finds is an event of the run's table.
    m_gate->SetFindingSink([this](const StepFinding& found) { m_seq.OnStepFinding(found); });
    // Every verdict goes into the run's journal with what the command said.
    m_seq.SetVerdictRecorder([this](const MonitorVerdict& verdict, int result) {
        if (m_journal) {
            m_journal->RecordMonitorVerdict(verdict, result);
        }
        if (m_onVerdict) {
            m_onVerdict(verdict, result);
        }
    });
    m_seq.SetStepGate(m_gate.get());
}

void CRunSession::DropMonitor() {
    m_seq.SetStepGate(nullptr);
    m_gate.reset();
    m_monitor.reset();
}

void CRunSession::SetProblemAnswer(ProblemAnswer answer) {
    m_answer = std::move(answer);
    m_seq.SetProblemAnswer(m_answer);
}

// Without a listener the journal tells the operator itself, through the message seam.
void CRunSession::SetJournalFailureListener(std::function<void(const QString&)> listener) {
    m_onJournalFailure = std::move(listener);
    if (m_journal && m_onJournalFailure) {
        WireJournal(*m_journal);
    }
}

RunSessionState CRunSession::State() const {
    RunSessionState state;
    state.phase = m_seq.Phase();
    state.panel = m_seq.State();
    state.checking = CheckingAfterStep();
    state.journalNotice = m_journalNotice;
    return state;
}

bool CRunSession::OpenJournal(QString& error, QString& notice) {
    if (m_settings.journal == RunSessionSettings::Journal::None) {
        return true;
    }
    JournalOpenInfo info = RunOpenInfo(m_doc, m_property, m_cntl);
    NoteResumedRun(m_doc, info.resumesJournal, info.endedSteps);
    if (m_settings.journal == RunSessionSettings::Journal::AtPath) {
        auto file = std::make_unique<CRunJournalFile>();
        if (!file->Create(m_settings.journalPath, error)) {
            return false;
        }
        file->Open(info);
        m_file = std::move(file);
    } else {
        // A journal that cannot be made is told and the run goes on without one.
        m_file = StartRunJournal(m_settings.journalFolder, m_doc, info);
    }
    if (!m_file) {
        return true;
    }
    // On failure notice says why; the run goes on.
    if (ContinueResumedRun(m_doc, m_file->Path(), notice)) {
        notice.clear();
    }
    WireJournal(m_file->Observer());
    return true;
}

void CRunSession::UseJournal(IRunJournal& journal, const JournalOpenInfo& info) {
    m_file.reset();
    m_otherJournal = std::make_unique<CRunJournalObserver>(journal);
    m_otherJournal->Open(info);
    WireJournal(*m_otherJournal);
}

void CRunSession::WireJournal(CRunJournalObserver& observer) {
    m_journal = &observer;
    if (m_onJournalFailure) {
        m_journal->SetFailureListener([this](const QString& text) {
            m_journalNotice = text;
            m_onJournalFailure(text);
        });
    }
    m_seq.SetObserver(m_journal);
}

QString CRunSession::JournalPath() const {
    return m_file ? m_file->Path() : QString();
}

bool CRunSession::Open() {
    if (m_opened || m_closed) {
        return m_opened;
    }
    m_opened = m_seq.Open();
    return m_opened;
}

void CRunSession::Close() {
    if (m_closed) {
        return;
    }
    m_closed = true;
    m_waiting = false;
    DropMonitor();  // no verdict may arrive once the run is closed
    if (m_opened) {
        m_seq.Destroy();  // the journal's close line
    }
}

void CRunSession::CloseUnopened(RunOutcome outcome) {
    if (m_closed || m_opened) {
        return;
    }
    m_closed = true;
    DropMonitor();
    if (m_journal) {
        m_journal->OnClosed(outcome);
    }
}

void CRunSession::OnTimer(int id) {
    m_seq.OnTimer(id);
    if (m_waiting && id == runtimer::kIdlePoll) {
        AutoStartTick();
    }
    if (!m_waiting && m_started && !m_finished && m_seq.Outcome() != RunOutcome::None) {
        Finish(m_seq.Outcome());
    }
}

void CRunSession::StartWhenReady(int maxWaitTicks) {
    m_waiting = true;
    m_waitTicks = 0;
    m_maxWaitTicks = maxWaitTicks;
}

// An idle poll while the test is waited for: START as soon as it is offered.
void CRunSession::AutoStartTick() {
    if (m_seq.Phase() == RunPhase::LinkLost) {
        Finish(RunOutcome::NoLink, AutoStartEnd::NoAnswer);
        return;
    }
    if (m_seq.StartOffered()) {
        m_seq.OnStart();
        if (m_seq.Phase() == RunPhase::Running) {
            m_waiting = false;
            m_started = true;
            return;
        }
        if (m_seq.Outcome() != RunOutcome::None) {
            Finish(m_seq.Outcome(), AutoStartEnd::Refused);  // refused before it was sent
            return;
        }
    } else if (m_seq.Phase() == RunPhase::Idle) {
        // Idle yet START is not offered: the synchronised test lacks its line.
        Finish(RunOutcome::Stopped, AutoStartEnd::NeedsLine);
        return;
    }
    if (++m_waitTicks > m_maxWaitTicks) {
        Finish(RunOutcome::Stopped, AutoStartEnd::StayedBusy);
    }
}

void CRunSession::StopRequested() {
    if (m_finished) {
        return;
    }
    if (m_started) {
        m_seq.OnStop();  // the run polls see the test end
    } else {
        Finish(RunOutcome::Stopped);
    }
}

void CRunSession::Finish(RunOutcome outcome, AutoStartEnd why) {
    if (m_finished) {
        return;
    }
    m_waiting = false;
    m_finished = true;
    m_finalOutcome = outcome;
    m_autoEnd = why;
    if (m_onFinish) {
        m_onFinish();
    }
}

bool CRunSession::WriteReport(const QString& path, QString& error) {
    if (!WriteTestReport(m_property, m_doc, path, error)) {
        return false;
    }
    if (m_journal) {
        m_journal->OnReportWritten(path);
    }
    return true;
}

void CRunSession::Changed() {
    if (m_seq.ReportPending()) {
        m_started = true;
    }
    if (m_onState) {
        m_onState();
    }
}

}  // namespace zeb

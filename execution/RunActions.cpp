// The operator's actions on the run: START, STOP, Esc, LINE ON, LINE OFF, the step spinner,
// Close and the report.

#include "InstrumentStatus.h"
#include "LinkMessages.h"
#include "MessageSeam.h"
#include "RunPreChecks.h"
#include "RunSequencer.h"
#include "SettingsDoc.h"
#include "TimerHost.h"
#include "ZebM40Cntl.h"

namespace zeb {

void CRunSequencer::OnStart() {
    // While the question is open, or the step gate holds the run, START has nothing to do.
    if (m_phase == RunPhase::Closed || m_phase == RunPhase::Starting ||
        m_phase == RunPhase::Holding || !SettingsFit(m_cntl, m_doc.Record())) {
        return;
    }
    KillPolls();
    // START runs the current step; one outside the list (it cannot arise from the handlers)
    // is the first.
    const int current = CurrentIndex();
    if (current != m_doc.CurrentStep()) {
        m_doc.SetCurrentStep(current);
    }
    m_facts.numberStep = current;
    Changed();
    m_facts.totalStep = m_facts.intervalStep = current;

    RunInput in;
    in.phase = m_phase;
    in.event = RunEvent::Start;
    quint8 st = 0;
    if (m_cntl.GetStatus(st)) {
        in.status = st;
    }
    m_status = st;
    // Pause or resume, nothing when nothing can start now, or the step loaded and the
    // question "Test starting." whose answer the table decides.
    Carry(Decide(in));
}

void CRunSequencer::OnStop() {
    if (m_phase == RunPhase::Closed) {
        return;
    }
    Carry(Decide(StopPressed()));
}

// STOP as the record has it, and the event it is; also how a monitor's FAIL stops the test.
RunInput CRunSequencer::StopPressed() {
    KillPolls();
    m_observer->OnStopSent(StopBy::StopButton);
    RunInput in;
    in.phase = m_phase;
    in.event = RunEvent::Stop;
    return in;
}

bool CRunSequencer::SetPaused(bool pause, bool* sent) {
    if (sent) {
        *sent = false;
    }
    if (m_phase != RunPhase::Running && m_phase != RunPhase::Paused) {
        return true;
    }
    quint8 st = 0;
    if (!m_cntl.GetStatus(st) || !(st & status::kRunning) ||
        ((st & status::kPaused) != 0) == pause) {
        return true;
    }
    if (sent) {
        *sent = true;
    }
    return Done(RunOp::PauseResume, m_cntl.PauseResume());
}

bool CRunSequencer::OnEscape() {
    if (m_phase == RunPhase::Closed || !m_facts.stepSeen) {
        return false;
    }
    m_observer->OnStopSent(StopBy::EscapeKey);
    RunInput in;
    in.phase = m_phase;
    in.event = RunEvent::Escape;
    Carry(Decide(in));
    return true;
}

bool CRunSequencer::KeyMayAct(ExecControl control) {
    return control != ExecControl::Start && control != ExecControl::LineOn;
}

void CRunSequencer::OnLineOn() {
    if (m_phase == RunPhase::Closed || !LineOnOffered()) {
        return;
    }
    // The radio is checked by the click itself; the next idle tick corrects it if need be.
    ShowLine(true);
    Changed();
    if (!SettingsFit(m_cntl, m_doc.Record())) {
        return;
    }
    quint8 st = 0;
    if (!m_cntl.GetStatus(st) || (st & status::kLineOnRefusedMask)) {
        return;
    }
    m_timers.KillTimer(runtimer::kIdlePoll);
    RunInput in;
    in.phase = m_phase;
    in.event = RunEvent::LineOnPressed;
    in.status = st;
    m_status = st;
    Carry(Decide(in));
}

void CRunSequencer::OnLineOff() {
    if (m_phase == RunPhase::Closed) {
        return;
    }
    ShowLine(false);
    if (SyncNeedsLine()) {
        m_facts.startOffered = false;  // a synchronised test waits for the line to come back
    }
    m_observer->OnStopSent(StopBy::LineOff);
    RunInput in;
    in.phase = m_phase;
    in.event = RunEvent::LineOff;
    Carry(Decide(in));
}

void CRunSequencer::OnStepSpin(int delta) {
    if (StepCount() == 0) {
        return;
    }
    int current = m_doc.CurrentStep();
    current = delta > 0 ? qMin(current + 1, StepCount() - 1) : qMax(current - 1, 0);
    m_doc.SetCurrentStep(current);
    m_facts.numberStep = current;
    Changed();
}

bool CRunSequencer::OnClose() {
    quint8 st = 0;
    if (m_cntl.GetStatus(st) && (st & status::kRunning)) {
        if (m_facts.stepSeen) {
            m_facts.focus = ExecControl::Stop;
            Changed();
        }
        return false;
    }
    if (m_reportPending) {
        const MsgAnswer answer =
            ShowMessage(ReportQuestion(), MsgButtons::YesNoCancel, MsgIcon::Question);
        if (answer == MsgAnswer::Cancel) {
            return false;
        }
        if (answer == MsgAnswer::Yes) {
            OnReport();
        }
    }
    return true;
}

// A report that was asked for is not offered again on Close, also when writing it failed: the
// operator has heard why and may press Report again.
void CRunSequencer::OnReport() {
    m_reportPending = false;
    if (!m_reportWriter) {
        return;
    }
    m_reportRecorded.clear();
    const QString path = m_reportWriter();
    if (!path.isEmpty() && path != m_reportRecorded) {
        m_observer->OnReportWritten(path);
    }
}

void CRunSequencer::ReportWritten(const QString& path) {
    m_reportRecorded = path;
    m_observer->OnReportWritten(path);
}

}  // namespace zeb

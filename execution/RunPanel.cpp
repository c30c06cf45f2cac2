// The facts the run dialog's panel is computed from, as they follow the phase, the step and the
// counters the instrument reports, and the blinking high-voltage lamp.

#include "InstrumentStatus.h"
#include "RemainingTime.h"
#include "RunSequencer.h"
#include "SettingsDoc.h"
#include "TimerHost.h"
#include "ZebM40Cntl.h"

namespace zeb {

namespace {

// Counter replies are read the way the instrument's firmware writes them: optional blanks, an
// optional sign, then digits; anything after the digits is ignored, nothing readable is 0.
qint64 LeadingInteger(const QString& text) {
    int i = 0;
    while (i < text.size() && text.at(i).isSpace()) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text.at(i) == QLatin1Char('-') || text.at(i) == QLatin1Char('+'))) {
        negative = text.at(i) == QLatin1Char('-');
        ++i;
    }
    qint64 value = 0;
    for (; i < text.size() && text.at(i) >= QLatin1Char('0') && text.at(i) <= QLatin1Char('9');
         ++i) {
        if (value < 1000000000000LL) {  // saturate long garbage instead of overflowing
            value = value * 10 + (text.at(i).unicode() - '0');
        }
    }
    return negative ? -value : value;
}

QString Num(qint64 value) {
    return QString::number(value);
}

}  // namespace

int CRunSequencer::StepCount() const {
    return static_cast<int>(m_doc.Steps().size());
}

bool CRunSequencer::HasStep(int index) const {
    return index >= 0 && index < StepCount();
}

bool CRunSequencer::CouplingUnit() const {
    return HasCouplingUnit(m_doc.Record().m_ulMachineType);
}

// A phase-synchronised AC test needs the mains on the EUT line to find its angle.
bool CRunSequencer::SyncNeedsLine() const {
    const OUTPUT& out = m_doc.Record().m_outOutput;
    return out.m_nOutputPort == kPortAc && out.m_aopOutputPort[kPortAc].m_nSync == 1;
}

// The run never switches the EUT line on for the surge output or the telecom port: the button
// is not offered for them, and nobody else (zebctl before the first idle poll) may do it either.
bool CRunSequencer::LineOnOffered() const {
    const int port = m_doc.Record().m_outOutput.m_nOutputPort;
    return port != kPortSurge && port != kPortTelecom;
}

bool CRunSequencer::StartOffered() const {
    return m_phase == RunPhase::Idle && (m_lineOn || !SyncNeedsLine());
}

bool CRunSequencer::Blinking() const {
    return m_timers.IsArmed(runtimer::kLamp);
}

void CRunSequencer::Changed() {
    if (m_onState) {
        m_onState();
    }
}

void CRunSequencer::StartBlink() {
    if (!Blinking()) {
        m_timers.SetTimer(runtimer::kLamp, runtimer::kLampMs);
    }
}

void CRunSequencer::StopBlink() {
    if (Blinking()) {
        m_timers.KillTimer(runtimer::kLamp);
        m_facts.lampLit = false;
    }
}

void CRunSequencer::LampTick() {
    m_facts.lampLit = !m_facts.lampLit;
    m_timers.SetTimer(runtimer::kLamp, runtimer::kLampMs);
    Changed();
}

void CRunSequencer::SetRemaining(int index, qint64 done) {
    m_facts.remainingSeconds = zeb::RemainingSeconds(m_doc.Steps(), index, done);
    m_facts.remainingKnown = true;
}

void CRunSequencer::MoveDefaultToStop() {
    m_facts.defaultOnStop = true;
    m_facts.focus = ExecControl::Stop;
}

ExecPanelState CRunSequencer::State() const {
    return Panel(m_facts, m_doc);
}

// The step the dialog opens on: its figures and texts, and no discharge done yet.
void CRunSequencer::ShowStepTexts(int index) {
    CExecData& step = m_doc.Steps()[static_cast<size_t>(index)];
    // The step is sent as the panel names it: codes outside their tables go back to their
    // defaults in the document here, not as a side effect of reading a text.
    step.CorrectPanelCodes();
    m_facts.openedStep = m_facts.numberStep = m_facts.totalStep = m_facts.intervalStep = index;
    m_facts.dischargeDone = Num(0);
    m_facts.countdown = Num(step.MinInterval());
}

// Discharges done, remaining time and countdown from the instrument.
void CRunSequencer::ReadCounters(int index) {
    QString text;
    m_cntl.GetDischargeCount(text);
    m_facts.dischargeDone = text;
    m_facts.discharges = LeadingInteger(text);
    SetRemaining(index, m_facts.discharges);
    m_cntl.GetIntervalCount(text);
    m_facts.countdown = text;
    m_facts.countdownValue = LeadingInteger(text);
}

// What the instrument's reply, as the table names it, tells the panel's facts.
void CRunSequencer::ApplyView(PanelView view, quint8 st) {
    m_viewApplied = true;
    RunFacts& f = m_facts;
    switch (view) {
        case PanelView::Keep:
            break;
        case PanelView::NotConnected:
            StopBlink();
            f.answered = false;
            f.startOffered = f.stepSeen = f.lineOnOffered = f.lineOffOffered = false;
            f.line = LineShown::Off;
            break;
        case PanelView::Reply:
            // A sequence started at the instrument's own panel was stopped: START waits for a
            // poll that finds the instrument ready.
            f.answered = true;
            f.startOffered = false;
            break;
        case PanelView::IdleBusy:
            f.answered = true;
            f.stepSeen = f.startOffered = false;
            f.busy = true;
            f.paused = false;
            break;
        case PanelView::IdleReady:
            f.answered = true;
            FollowIdleReady(st);
            break;
        case PanelView::RunBusy:
            StartBlink();
            f.busy = true;
            f.startOffered = false;
            f.stepSeen = true;
            MoveDefaultToStop();
            break;
        case PanelView::RunActive:
            FollowRunActive(st);
            break;
        case PanelView::RunEnded:
            StopBlink();
            f.paused = false;
            f.stepSeen = f.startOffered = false;
            break;
        case PanelView::RunBusyEnd:
            f.paused = false;
            f.busy = true;
            break;
        case PanelView::StepDone:
            f.paused = f.busy = false;
            break;
        case PanelView::Starting: {
            const int current = CurrentIndex();
            f.dischargeDone = Num(0);
            f.countdown = Num(m_doc.Steps()[static_cast<size_t>(current)].MinInterval());
            SelectRow(current);
            // Neither is pressed again until the test ends or the start is given up.
            f.lineOnOffered = false;
            f.startOffered = false;
            break;
        }
        case PanelView::StartRefused:
            f.lineOnOffered = true;
            break;
        case PanelView::Completed:
            f.paused = f.busy = false;
            StopBlink();
            break;
    }
}

// The instrument is ready: the buttons follow the port, the line and the synchronisation.
void CRunSequencer::FollowIdleReady(quint8 st) {
    RunFacts& f = m_facts;
    const bool lineOn = (st & status::kLineOn) != 0;
    StopBlink();
    f.stepSeen = false;
    f.startOffered = lineOn || !SyncNeedsLine();
    f.paused = f.busy = false;
    f.lineOffOffered = true;
    f.lineOnOffered = LineOnOffered();
    // The radios and the lamp follow the line as the instrument reports it.
    f.lampLit = lineOn;
    ShowLine(lineOn);
    f.pauseOffered = false;
    f.testSeen = false;
}

// Our step runs (or is paused) and the counters were just read.
void CRunSequencer::FollowRunActive(quint8 st) {
    RunFacts& f = m_facts;
    const int current = CurrentIndex();
    const bool paused = (st & status::kPaused) != 0;
    StartBlink();
    f.busy = false;
    f.stepSeen = true;
    if (paused) {
        f.pauseOffered = false;
        f.paused = true;
    } else if (!CouplingUnit()) {
        f.pauseOffered = true;
        f.paused = false;
    }
    f.lineOnOffered = false;
    f.lineOffOffered = (st & status::kLineOn) != 0;
    f.testSeen = true;
    f.numberStep = current;
    // A pause is offered only while at least 2 s remain before the next discharge; the
    // coupling unit cannot pause at all.
    if (f.countdownValue >= 2) {
        if (!CouplingUnit()) {
            f.startOffered = true;
        }
    } else if (!paused) {
        if (f.focus == ExecControl::Start) {
            MoveDefaultToStop();
        }
        f.startOffered = false;
    }
    f.intervalStep = current;
}

// After a complete test the dialog is ready to run it again from the first step; its countdown
// shows the first step's interval.
void CRunSequencer::Rewind() {
    m_doc.SetCurrentStep(0);
    SelectRow(0);
    m_facts.numberStep = 0;
    m_facts.stepSeen = false;
    m_facts.dischargeDone = Num(0);
    SetRemaining(0, 0);
    m_facts.countdown = Num(m_doc.Steps().front().m_lRept);
}

}  // namespace zeb

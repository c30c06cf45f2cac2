// What the run dialog shows: the panel as it follows the phase, the step and the counters the
// instrument reports, and the blinking high-voltage lamp.

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
        m_state.lampLit = false;
    }
}

void CRunSequencer::LampTick() {
    m_state.lampLit = !m_state.lampLit;
    m_timers.SetTimer(runtimer::kLamp, runtimer::kLampMs);
    Changed();
}

void CRunSequencer::SetRemaining(int index, qint64 done) {
    m_remainingSeconds = zeb::RemainingSeconds(m_doc.Steps(), index, done);
    m_state.remaining = RemainingText(m_remainingSeconds);
}

void CRunSequencer::MoveDefaultToStop() {
    m_state.defaultButton = ExecControl::Stop;
    m_state.focus = ExecControl::Stop;
}

// Step figures and texts shown when the dialog opens.
void CRunSequencer::ShowStepTexts(int index) {
    CExecData& step = m_doc.Steps()[static_cast<size_t>(index)];
    // The step is sent as the panel names it: codes outside their tables go back to their
    // defaults in the document here, not as a side effect of reading a text.
    step.CorrectPanelCodes();
    m_state.stepTotal = Num(StepCount());
    m_state.stepNumber = Num(index + 1);
    m_state.dischargeTotal = Num(step.m_lDisc);
    m_state.dischargeDone = Num(0);
    m_state.countdown = Num(step.MinInterval());
    m_state.interval = Num(step.m_lRept);
    m_state.outputPort = step.GetItemText(kItemPort);
    m_state.outputLines = step.GetItemText(kItemDetail);
    m_state.waveform = step.GetItemText(kItemWaveform);
    m_state.impedanceVisible = step.m_nWaveform == kWaveRing;
    m_state.impedance = m_state.impedanceVisible ? step.GetItemText(kItemRing) : QString();
}

// Discharges done, remaining time and countdown from the instrument.
void CRunSequencer::ReadCounters(int index) {
    QString text;
    m_cntl.GetDischargeCount(text);
    m_state.dischargeDone = text;
    m_discharges = LeadingInteger(text);
    SetRemaining(index, m_discharges);
    m_cntl.GetIntervalCount(text);
    m_state.countdown = text;
    m_countdown = LeadingInteger(text);
}

void CRunSequencer::ApplyView(PanelView view, quint8 st) {
    m_viewApplied = true;
    ExecPanelState& s = m_state;
    switch (view) {
        case PanelView::Keep:
            break;
        case PanelView::NotConnected:
            StopBlink();
            s.notConnectedVisible = true;
            s.startEnabled = s.stopEnabled = s.lineOnEnabled = s.lineOffEnabled = false;
            s.lineOnChecked = false;
            s.lineOffChecked = true;
            break;
        case PanelView::Reply:
            s.notConnectedVisible = false;
            break;
        case PanelView::IdleBusy:
            s.notConnectedVisible = false;
            s.stopEnabled = s.startEnabled = false;
            s.processingVisible = true;
            s.pauseVisible = false;
            break;
        case PanelView::IdleReady:
            s.notConnectedVisible = false;
            ShowIdleReady(st);
            break;
        case PanelView::RunBusy:
            StartBlink();
            s.processingVisible = true;
            s.startEnabled = false;
            s.stopEnabled = true;
            MoveDefaultToStop();
            break;
        case PanelView::RunActive:
            ShowRunActive(st);
            break;
        case PanelView::RunEnded:
            StopBlink();
            s.pauseVisible = false;
            s.stopEnabled = s.startEnabled = false;
            break;
        case PanelView::RunBusyEnd:
            s.pauseVisible = false;
            s.processingVisible = true;
            break;
        case PanelView::StepDone:
            s.pauseVisible = s.processingVisible = false;
            break;
        case PanelView::Starting: {
            const int current = CurrentIndex();
            s.dischargeDone = Num(0);
            s.countdown = Num(m_doc.Steps()[static_cast<size_t>(current)].MinInterval());
            SelectRow(current);
            s.lineOnEnabled = false;
            s.startEnabled = false;
            break;
        }
        case PanelView::StartRefused:
            s.lineOnEnabled = true;
            break;
        case PanelView::Completed:
            s.pauseVisible = s.processingVisible = false;
            StopBlink();
            break;
    }
}

void CRunSequencer::ShowIdleReady(quint8 st) {
    ExecPanelState& s = m_state;
    const bool lineOn = (st & status::kLineOn) != 0;
    StopBlink();
    s.stopEnabled = false;
    s.startEnabled = lineOn || !SyncNeedsLine();
    s.pauseVisible = s.processingVisible = false;
    s.lineOffEnabled = true;
    s.lineOnEnabled = LineOnOffered();
    // The radios and the lamp follow the line as the instrument reports it.
    s.lampLit = lineOn;
    if (lineOn != s.lineOnChecked || lineOn == s.lineOffChecked) {
        s.lineOnChecked = lineOn;
        s.lineOffChecked = !lineOn;
    }
    s.startIcon = StartIcon::Play;
    s.judgementEnabled = true;
}

void CRunSequencer::ShowRunActive(quint8 st) {
    ExecPanelState& s = m_state;
    const int current = CurrentIndex();
    const bool paused = (st & status::kPaused) != 0;
    StartBlink();
    s.processingVisible = false;
    s.stopEnabled = true;
    if (paused) {
        s.startIcon = StartIcon::Play;
        s.pauseVisible = true;
    } else if (!CouplingUnit()) {
        s.startIcon = StartIcon::Pause;
        s.pauseVisible = false;
    }
    s.lineOnEnabled = false;
    s.lineOffEnabled = (st & status::kLineOn) != 0;
    s.judgementEnabled = false;
    s.stepNumber = Num(current + 1);
    // A pause is offered only while at least 2 s remain before the next discharge; the
    // coupling unit cannot pause at all.
    if (m_countdown >= 2) {
        if (!CouplingUnit()) {
            s.startEnabled = true;
        }
    } else if (!paused) {
        if (s.focus == ExecControl::Start) {
            MoveDefaultToStop();
        }
        s.startEnabled = false;
    }
    s.interval = Num(m_doc.Steps()[static_cast<size_t>(current)].m_lRept);
}

// After a complete test the dialog is ready to run it again from the first step.
void CRunSequencer::Rewind() {
    m_doc.SetCurrentStep(0);
    SelectRow(0);
    m_state.stepNumber = Num(1);
    m_state.stopEnabled = false;
    m_state.dischargeDone = Num(0);
    SetRemaining(0, 0);
    m_state.countdown = Num(m_doc.Steps().front().m_lRept);
}

}  // namespace zeb

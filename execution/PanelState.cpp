#include "PanelState.h"

#include <tuple>

#include "RemainingTime.h"
#include "SettingsDoc.h"

namespace zeb {

namespace {

auto Tie(const RunView& v) {
    return std::tie(v.lineOnEnabled, v.lineOffEnabled, v.line, v.startEnabled, v.stopEnabled,
                    v.startAction, v.defaultButton, v.lampLit, v.pauseVisible, v.processingVisible,
                    v.notConnectedVisible, v.checkingVisible, v.journalNoticeVisible,
                    v.impedanceVisible, v.judgementEnabled, v.selectedRow, v.stepNumber,
                    v.stepTotal, v.dischargeDone, v.dischargeTotal, v.countdown, v.interval,
                    v.outputPort, v.outputLines, v.waveform, v.impedance, v.remaining);
}

const CExecData* StepAt(const CZebM40SettingsDoc& doc, int index) {
    const ExecDataList& steps = doc.Steps();
    return index >= 0 && index < static_cast<int>(steps.size()) ? &steps[static_cast<size_t>(index)]
                                                                : nullptr;
}

QString Num(qint64 value) {
    return QString::number(value);
}

}  // namespace

bool RunView::operator==(const RunView& o) const {
    return Tie(*this) == Tie(o);
}

ExecPanelState Panel(const RunFacts& f, const CZebM40SettingsDoc& doc) {
    ExecPanelState p;
    p.lineOnEnabled = f.lineOnOffered;
    p.lineOffEnabled = f.lineOffOffered;
    p.line = f.line;
    p.startEnabled = f.startOffered;
    p.stopEnabled = f.stepSeen;
    // START shows the pause symbol while a step runs; pressed on a paused step it resumes.
    p.startAction = f.pauseOffered ? StartAction::Pause
                    : f.paused     ? StartAction::Resume
                                   : StartAction::Start;
    p.defaultButton = f.defaultOnStop ? ExecControl::Stop : ExecControl::Start;
    p.focus = f.focus;
    p.lampLit = f.lampLit;
    p.pauseVisible = f.paused;
    p.processingVisible = f.busy;
    p.notConnectedVisible = !f.answered;
    // Judgements wait while a test runs; they are free again once the instrument is ready.
    p.judgementEnabled = !f.testSeen;
    p.selectedRow = f.selectedRow;

    if (f.numberStep >= 0) {
        p.stepNumber = Num(f.numberStep + 1);
        p.stepTotal = Num(static_cast<qint64>(doc.Steps().size()));
    }
    if (const CExecData* step = StepAt(doc, f.totalStep)) {
        p.dischargeTotal = Num(step->m_lDisc);
    }
    if (const CExecData* step = StepAt(doc, f.intervalStep)) {
        p.interval = Num(step->m_lRept);
    }
    p.dischargeDone = f.dischargeDone;
    p.countdown = f.countdown;
    if (const CExecData* step = StepAt(doc, f.openedStep)) {
        p.outputPort = step->GetItemText(kItemPort);
        p.outputLines = step->GetItemText(kItemDetail);
        p.waveform = step->GetItemText(kItemWaveform);
        p.impedanceVisible = step->m_nWaveform == kWaveRing;
        p.impedance = p.impedanceVisible ? step->GetItemText(kItemRing) : QString();
    }
    if (f.remainingKnown) {
        p.remaining = RemainingText(f.remainingSeconds);
    }
    return p;
}

}  // namespace zeb

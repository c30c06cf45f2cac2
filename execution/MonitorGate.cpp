#include "MonitorGate.h"

#include "MonitorSettings.h"
#include "SettingsDoc.h"

namespace zeb {

namespace {
// How often the clock of the checks during a step is looked at: fine enough that a check is
// never more than a fraction of a second late, coarse enough to cost nothing.
constexpr int kDuringTickMs = 200;
}  // namespace

MonitorGateOptions MonitorGateOptions::From(const EutMonitorSettings& settings) {
    MonitorGateOptions o;
    o.judgeAfterStep = settings.JudgesAfterStep();
    o.checkDuringStep = settings.ChecksDuringStep();
    o.everyMs = ClampMonitorSeconds(settings.everyS) * 1000;
    o.stopOnFail = settings.stopOnFail;
    return o;
}

QString MonitorProblemQuestion(int step, const QString& comment) {
    return QStringLiteral(
               "The EUT monitor gave no verdict on step %1:\n%2\n\n"
               "OK continues the test, Cancel stops it.")
        .arg(step)
        .arg(comment);
}

QString CheckingText() {
    return QStringLiteral("Checking the EUT...");
}

CMonitorGate::CMonitorGate(const CZebM40SettingsDoc& doc, IEutMonitor& monitor,
                           MonitorGateOptions options, QString documentPath)
    : m_doc(doc),
      m_monitor(monitor),
      m_options(options),
      m_documentPath(documentPath.isEmpty() ? doc.PathName() : std::move(documentPath)) {
    m_monitor.SetVerdictListener([this](const MonitorVerdict& v) { OnVerdict(v); });
    if (m_options.checkDuringStep) {
        m_options.everyMs = qMax(m_options.everyMs, 1);
        m_clock.start();
        connect(&m_tick, &QTimer::timeout, this, [this] { OnDuringTick(m_clock.elapsed()); });
        m_tick.start(kDuringTickMs);
    }
}

CMonitorGate::~CMonitorGate() {
    m_tick.stop();
    m_monitor.SetVerdictListener(nullptr);
    m_monitor.Cancel();
}

void CMonitorGate::StepStarted(int step) {
    m_failed.erase(step);
    m_duringStep = step;
    m_nextDueMs.reset();  // the checks during it count from the next tick
}

// While the step is paused or the operator is asked, the schedule waits with the step; once
// no step of ours runs, it starts afresh with the next.
void CMonitorGate::RunMoved(RunPhase phase, bool answerPending) {
    m_stepRuns = phase == RunPhase::Running && !answerPending;
    if (!answerPending && phase != RunPhase::Running && phase != RunPhase::Paused) {
        m_nextDueMs.reset();
    }
}

// A FAIL found during the step stands; otherwise the verdict after it decides, when there is one.
int CMonitorGate::ResultAtStepEnd(int finished) {
    if (m_failed.count(finished) != 0) {
        return kResultFail;
    }
    return m_options.judgeAfterStep ? kJournalResultPending : kResultPass;
}

StepCheck CMonitorGate::HoldAfterStep(int finished, bool /*lastStep*/) {
    m_nextDueMs.reset();  // the step is over: no more checks during it
    StepCheck check;
    if (finished < 0 || finished >= static_cast<int>(m_doc.Steps().size()) ||
        !m_options.judgeAfterStep) {
        return check;
    }
    // A check during the step still running is of no use now; the verdict after it counts.
    m_monitor.Cancel();
    if (!m_monitor.Start(RequestFor(finished, MonitorPhase::After))) {
        // No check, no verdict: the step stays unjudged and says so.
        StepFinding found;
        found.event = RunEvent::CheckNotStarted;
        found.row = finished;
        found.result = Step(finished).m_nResult;
        found.mark = StepMark{
            found.result,
            ReplaceMonitorComment(Step(finished).m_strComment,
                                  QStringLiteral("monitor: the check could not be started"))};
        check.found = found;
        return check;
    }
    SetChecking(finished);
    check.holds = true;
    return check;
}

void CMonitorGate::OnDuringTick(qint64 nowMs) {
    if (!m_options.checkDuringStep || !m_stepRuns || !m_duringStep) {
        return;
    }
    if (!m_nextDueMs) {
        // A step (or a new run of it) has begun: its checks count from now.
        m_nextDueMs = nowMs + m_options.everyMs;
        return;
    }
    if (nowMs < *m_nextDueMs) {
        return;
    }
    while (*m_nextDueMs <= nowMs) {
        *m_nextDueMs += m_options.everyMs;
    }
    // Refused while the last check still runs; the monitor counts it as skipped.
    m_monitor.Start(RequestFor(*m_duringStep, MonitorPhase::During));
}

void CMonitorGate::OnVerdict(const MonitorVerdict& verdict) {
    const int row = verdict.request.step - 1;
    if (row < 0 || row >= static_cast<int>(m_doc.Steps().size())) {
        return;
    }
    StepFinding found;
    if (verdict.request.phase == MonitorPhase::After) {
        if (row != m_afterStep) {
            return;  // not the check the run waits for
        }
        SetChecking(std::nullopt);
        found = AfterVerdict(row, verdict);
    } else {
        found = DuringVerdict(row, verdict);
    }
    found.row = row;
    found.stopOnFail = m_options.stopOnFail;
    found.verdict = verdict;
    if (m_sink) {
        m_sink(found);
    }
}

// Each answer replaces the monitor's earlier comment on the step; the operator's is kept.
StepFinding CMonitorGate::AfterVerdict(int row, const MonitorVerdict& verdict) {
    StepFinding found;
    found.event = RunEvent::VerdictAfterStep;
    found.failedDuring = m_failed.count(row) != 0;
    const QString kept = Step(row).m_strComment;
    const QString replaced = ReplaceMonitorComment(kept, verdict.comment);
    switch (verdict.outcome) {
        case MonitorOutcome::Pass:
            // A FAIL found during the step stands, and so does its reason.
            found.result = found.failedDuring ? kResultFail : kResultPass;
            found.mark = StepMark{found.result, found.failedDuring ? kept : replaced};
            break;
        case MonitorOutcome::Fail:
            found.result = kResultFail;
            found.mark = StepMark{kResultFail, replaced};
            break;
        case MonitorOutcome::Problem:
            // No verdict on the EUT: the step is not judged, unless a FAIL was already found.
            found.result = found.failedDuring ? kResultFail : kResultNone;
            found.mark = StepMark{found.result, found.failedDuring ? kept : replaced};
            break;
    }
    return found;
}

StepFinding CMonitorGate::DuringVerdict(int row, const MonitorVerdict& verdict) {
    StepFinding found;
    found.event = RunEvent::VerdictDuringStep;
    const CExecData& step = Step(row);
    const bool failed = m_failed.count(row) != 0;
    found.failedDuring = failed;
    found.result = failed ? kResultFail : step.m_nResult;
    switch (verdict.outcome) {
        case MonitorOutcome::Pass: {
            // Never undoes a FAIL; an earlier problem's comment goes.
            found.result = step.m_nResult;
            const QString comment = ReplaceMonitorComment(step.m_strComment, QString());
            if (!failed && comment != step.m_strComment) {
                found.mark = StepMark{step.m_nResult, comment};
            }
            break;
        }
        case MonitorOutcome::Fail:
            // The first FAIL's reason is kept; later ones only go to the record.
            found.result = kResultFail;
            if (m_failed.insert(row).second) {
                found.mark = StepMark{kResultFail,
                                      ReplaceMonitorComment(step.m_strComment, verdict.comment)};
            }
            found.failedDuring = true;
            break;
        case MonitorOutcome::Problem:
            if (!failed) {
                found.mark = StepMark{step.m_nResult,
                                      ReplaceMonitorComment(step.m_strComment, verdict.comment)};
            }
            break;
    }
    return found;
}

void CMonitorGate::SetChecking(std::optional<int> row) {
    const bool was = m_afterStep.has_value();
    m_afterStep = row;
    if (m_onChecking && was != row.has_value()) {
        m_onChecking(row.has_value());
    }
}

MonitorRequest CMonitorGate::RequestFor(int row, MonitorPhase phase) const {
    return MonitorRequestForStep(Step(row), row, static_cast<int>(m_doc.Steps().size()), phase,
                                 m_documentPath);
}

const CExecData& CMonitorGate::Step(int row) const {
    return m_doc.Steps()[static_cast<size_t>(row)];
}

}  // namespace zeb

#include "MonitorGate.h"

#include "MonitorSettings.h"
#include "RunSequencer.h"
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

CMonitorGate::CMonitorGate(CRunSequencer& seq, CZebM40SettingsDoc& doc, IEutMonitor& monitor,
                           MonitorGateOptions options, QString documentPath)
    : m_seq(seq),
      m_doc(doc),
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
    m_seq.SetStepGate(nullptr);
}

void CMonitorGate::StepStarted(int step) {
    m_failed.erase(step);
    m_duringStep = step;
    m_nextDueMs = -1;  // the checks during it count from the next tick
}

// A FAIL found during the step stands; otherwise the verdict after it decides, when there is one.
int CMonitorGate::ResultAtStepEnd(int finished) {
    if (m_failed.count(finished) != 0) {
        return kResultFail;
    }
    return m_options.judgeAfterStep ? kJournalResultPending : kResultPass;
}

bool CMonitorGate::HoldAfterStep(int finished, bool /*lastStep*/) {
    m_nextDueMs = -1;  // the step is over: no more checks during it
    if (finished < 0 || finished >= static_cast<int>(m_doc.Steps().size()) ||
        !m_options.judgeAfterStep) {
        return false;
    }
    // A check during the step still running is of no use now; the verdict after it counts.
    m_monitor.Cancel();
    if (!m_monitor.Start(RequestFor(finished, MonitorPhase::After))) {
        // No check, no verdict: the step stays unjudged and says so.
        const CExecData& step = m_doc.Steps()[static_cast<size_t>(finished)];
        m_seq.ApplyJudgement(
            finished, step.m_nResult,
            ReplaceMonitorComment(step.m_strComment,
                                  QStringLiteral("monitor: the check could not be started")),
            JudgedBy::Monitor);
        return false;
    }
    SetChecking(finished);
    return true;
}

void CMonitorGate::OnDuringTick(qint64 nowMs) {
    if (!m_options.checkDuringStep || m_asking) {
        return;
    }
    const RunPhase phase = m_seq.Phase();
    if (phase == RunPhase::Paused) {
        return;  // the schedule waits with the step
    }
    if (phase != RunPhase::Running) {
        m_nextDueMs = -1;
        return;
    }
    const int step = m_doc.CurrentStep();
    if (step < 0 || step >= static_cast<int>(m_doc.Steps().size())) {
        return;
    }
    if (step != m_duringStep || m_nextDueMs < 0) {
        // A step (or a new run of it) has begun: its checks count from now.
        m_duringStep = step;
        m_nextDueMs = nowMs + m_options.everyMs;
        return;
    }
    if (nowMs < m_nextDueMs) {
        return;
    }
    while (m_nextDueMs <= nowMs) {
        m_nextDueMs += m_options.everyMs;
    }
    // Refused while the last check still runs; the monitor counts it as skipped.
    m_monitor.Start(RequestFor(step, MonitorPhase::During));
}

void CMonitorGate::OnVerdict(const MonitorVerdict& verdict) {
    const int row = verdict.request.step - 1;
    if (row < 0 || row >= static_cast<int>(m_doc.Steps().size())) {
        return;
    }
    if (verdict.request.phase == MonitorPhase::After) {
        if (row == m_afterStep) {
            OnAfterVerdict(row, verdict);
        }
        return;
    }
    OnDuringVerdict(row, verdict);
}

// Each answer replaces the monitor's earlier comment on the step; the operator's is kept.
void CMonitorGate::OnAfterVerdict(int row, const MonitorVerdict& verdict) {
    SetChecking(-1);
    const bool held = m_seq.Phase() == RunPhase::Holding;
    const bool failedDuring = m_failed.count(row) != 0;
    const QString kept = m_doc.Steps()[static_cast<size_t>(row)].m_strComment;
    // A FAIL found during the step stands, and so does its reason.
    const QString comment = failedDuring ? kept : ReplaceMonitorComment(kept, verdict.comment);
    switch (verdict.outcome) {
        case MonitorOutcome::Pass: {
            const int result = failedDuring ? kResultFail : kResultPass;
            m_seq.ApplyJudgement(row, result, comment, JudgedBy::Monitor);
            Record(verdict, result);
            if (held && failedDuring && m_options.stopOnFail) {
                m_seq.OnStop();  // the EUT failed during the step: no further surge
            } else if (held) {
                m_seq.ReleaseHold();
            }
            return;
        }
        case MonitorOutcome::Fail:
            m_seq.ApplyJudgement(row, kResultFail, ReplaceMonitorComment(kept, verdict.comment),
                                 JudgedBy::Monitor);
            Record(verdict, kResultFail);
            if (held) {
                if (m_options.stopOnFail) {
                    m_seq.OnStop();
                } else {
                    m_seq.ReleaseHold();
                }
            }
            return;
        case MonitorOutcome::Problem: {
            // No verdict on the EUT: the step is not judged, unless a FAIL was already found.
            const int result = failedDuring ? kResultFail : kResultNone;
            m_seq.ApplyJudgement(row, result, comment, JudgedBy::Monitor);
            Record(verdict, result);
            if (!held) {
                return;
            }
            // A FAIL found during the step stops the test at once when asked to, as after it.
            if (failedDuring && m_options.stopOnFail) {
                m_seq.OnStop();
            } else if (AskToGoOn(verdict)) {
                m_seq.ReleaseHold();
            } else {
                m_seq.OnStop();
            }
            return;
        }
    }
}

void CMonitorGate::OnDuringVerdict(int row, const MonitorVerdict& verdict) {
    const CExecData& step = m_doc.Steps()[static_cast<size_t>(row)];
    const bool failed = m_failed.count(row) != 0;
    switch (verdict.outcome) {
        case MonitorOutcome::Pass: {
            // Never undoes a FAIL; an earlier problem's comment goes.
            const QString comment = ReplaceMonitorComment(step.m_strComment, QString());
            if (!failed && comment != step.m_strComment) {
                m_seq.ApplyJudgement(row, step.m_nResult, comment, JudgedBy::Monitor);
            }
            Record(verdict, step.m_nResult);
            return;
        }
        case MonitorOutcome::Fail: {
            // The first FAIL's reason is kept; later ones only go to the record.
            if (m_failed.insert(row).second) {
                m_seq.ApplyJudgement(row, kResultFail,
                                     ReplaceMonitorComment(step.m_strComment, verdict.comment),
                                     JudgedBy::Monitor);
            }
            Record(verdict, kResultFail);
            if (m_options.stopOnFail && TestUnderWay(m_seq.Phase()) &&
                m_seq.Phase() != RunPhase::Stopping) {
                m_seq.OnStop();
            }
            return;
        }
        case MonitorOutcome::Problem: {
            if (!failed) {
                m_seq.ApplyJudgement(row, step.m_nResult,
                                     ReplaceMonitorComment(step.m_strComment, verdict.comment),
                                     JudgedBy::Monitor);
            }
            Record(verdict, failed ? kResultFail : step.m_nResult);
            // The EUT is not surged further while nobody knows how it is: pause as PAUSE does.
            const bool paused = m_seq.Phase() == RunPhase::Running && m_seq.SetPaused(true);
            const bool goOn = AskToGoOn(verdict);
            const RunPhase phase = m_seq.Phase();
            if (phase != RunPhase::Running && phase != RunPhase::Paused) {
                return;  // the run ended meanwhile
            }
            if (!goOn) {
                m_seq.OnStop();
            } else if (paused) {
                m_seq.SetPaused(false);
            }
            return;
        }
    }
}

void CMonitorGate::SetChecking(int row) {
    const bool was = m_afterStep >= 0;
    m_afterStep = row;
    if (m_onChecking && was != (row >= 0)) {
        m_onChecking(row >= 0);
    }
}

bool CMonitorGate::AskToGoOn(const MonitorVerdict& verdict) {
    m_asking = true;
    // Nobody to answer means nobody said the EUT may be surged further.
    const bool goOn = m_answer && m_answer(verdict);
    m_asking = false;
    return goOn;
}

MonitorRequest CMonitorGate::RequestFor(int row, MonitorPhase phase) const {
    return MonitorRequestForStep(m_doc.Steps()[static_cast<size_t>(row)], row,
                                 static_cast<int>(m_doc.Steps().size()), phase, m_documentPath);
}

void CMonitorGate::Record(const MonitorVerdict& verdict, int result) {
    if (m_recorder) {
        m_recorder(verdict, result);
    }
}

}  // namespace zeb

#pragma once
// A monitor whose answers the test gives: each Start is recorded and stays busy until the test
// answers it with Answer() (or a scripted queue does so through AnswerNext()), so a sequencer
// test decides exactly when a verdict arrives.

#include <gtest/gtest.h>

#include <deque>
#include <vector>

#include "EutMonitor.h"

namespace zeb::test {

class FakeEutMonitor : public IEutMonitor {
public:
    bool Start(const MonitorRequest& request) override {
        if (m_busy) {
            if (request.phase == MonitorPhase::During) {
                CountSkipped();
            }
            return false;
        }
        m_busy = true;
        started.push_back(request);
        return true;
    }
    bool Busy() const override { return m_busy; }
    void Cancel() override {
        if (m_busy) {
            ++cancelled;
        }
        m_busy = false;
    }

    // Ends the running check with this verdict (its request filled in) and hands it over.
    void Answer(MonitorVerdict verdict) {
        if (!m_busy) {
            ADD_FAILURE() << "answered a check that is not running";
            return;
        }
        m_busy = false;
        verdict.request = started.back();
        Deliver(verdict);
    }
    void AnswerPass() { Answer(Verdict(MonitorOutcome::Pass, QString(), 0)); }
    void AnswerFail(const QString& reason) {
        Answer(Verdict(MonitorOutcome::Fail, QStringLiteral("monitor: ") + reason, 1));
    }
    void AnswerProblem(const QString& why) {
        Answer(Verdict(MonitorOutcome::Problem, QStringLiteral("monitor: ") + why, -1));
    }
    // Answers with the next verdict of `script`; false when the script is used up.
    bool AnswerNext() {
        if (script.empty()) {
            return false;
        }
        MonitorVerdict v = script.front();
        script.pop_front();
        Answer(v);
        return true;
    }

    static MonitorVerdict Verdict(MonitorOutcome outcome, const QString& comment, int status) {
        MonitorVerdict v;
        v.outcome = outcome;
        v.comment = comment;
        v.exitStatus = status;
        return v;
    }

    std::vector<MonitorRequest> started;
    std::deque<MonitorVerdict> script;
    int cancelled = 0;

private:
    bool m_busy = false;
};

}  // namespace zeb::test

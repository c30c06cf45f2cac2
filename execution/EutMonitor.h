#pragma once
// The EUT monitor: a command chosen by the lab that answers "is the EUT still doing its job?"
// for one test step. The run asks it after a step's last discharge (and, when set up, every few
// seconds during the step); exit status 0 means PASS, 1 means FAIL with the first line of its
// output as the reason, and anything else is a problem with the monitor, not a verdict on the
// EUT. The run sees only IEutMonitor, so tests script the answers.

#include <QByteArray>
#include <QString>

#include <functional>

#include "StepComment.h"

namespace zeb {

class CExecData;

enum class MonitorPhase { During, After };

// What the command is told about the step, through its environment.
struct MonitorRequest {
    int step = 1;   // 1-based
    int steps = 1;  // steps of the document
    QString port;   // the step's output port text
    QString lines;  // the step's coupling line text
    int voltageV = 0;
    QString polarity;    // "+" or "-"
    QString angleDeg;    // empty when the discharges do not follow the mains phase
    int discharges = 0;  // discharges of the step
    MonitorPhase phase = MonitorPhase::After;
    QString documentPath;  // the settings document; its folder is the working folder
};

// The request for step `index` (0-based) of `count`, from the step's display texts.
MonitorRequest MonitorRequestForStep(const CExecData& step, int index, int count,
                                     MonitorPhase phase, const QString& documentPath);

// "during" or "after", as ZEB_PHASE carries it.
QString PhaseName(MonitorPhase phase);

enum class MonitorOutcome { Pass, Fail, Problem };

struct MonitorVerdict {
    // How much of the command's output is kept for the run journal.
    static constexpr int kKeptOutputBytes = 1024;
    // Longest reason taken from the command's first output line.
    static constexpr int kMaxReasonLength = 255;

    MonitorRequest request;  // the check this answers
    MonitorOutcome outcome = MonitorOutcome::Problem;
    // FAIL: the step's comment ("monitor: " and the reason). Problem: why there is no verdict,
    // in the same form. PASS: empty.
    QString comment;
    int exitStatus = -1;  // -1 when the command did not exit by itself
    QString program;      // full path of the program that ran; empty when none could start
    qint64 durationMs = 0;
    QByteArray output;       // first kKeptOutputBytes of standard output
    QByteArray errorOutput;  // first kKeptOutputBytes of standard error

    bool IsVerdict() const { return outcome != MonitorOutcome::Problem; }
};

// The verdict of a command that exited normally with `exitStatus` and wrote `output` and
// `errorOutput` (only their beginnings are needed).
MonitorVerdict VerdictFromExit(int exitStatus, const QByteArray& output,
                               const QByteArray& errorOutput);
// The first line of `output` (UTF-8): control characters as blanks, trimmed, cut to at most
// `maxLength` characters (never inside a character).
QString FirstOutputLine(const QByteArray& output, int maxLength = MonitorVerdict::kMaxReasonLength);

class IEutMonitor {
public:
    using VerdictListener = std::function<void(const MonitorVerdict&)>;
    virtual ~IEutMonitor() = default;

    // Starts one check and returns at once; the verdict arrives later through the listener,
    // from the event loop (never from inside Start). Only one check runs at a time: while one
    // is busy, Start does nothing and returns false, and a refused check of phase During is
    // counted as skipped.
    virtual bool Start(const MonitorRequest& request) = 0;
    virtual bool Busy() const = 0;
    // Ends the running check, if any; its verdict is never delivered. Busy() is false after.
    virtual void Cancel() = 0;

    void SetVerdictListener(VerdictListener listener) { m_listener = std::move(listener); }
    // During checks refused because one was still running, since the last reset.
    int SkippedChecks() const { return m_skipped; }
    void ResetSkippedChecks() { m_skipped = 0; }

protected:
    void CountSkipped() { ++m_skipped; }
    void Deliver(const MonitorVerdict& verdict) {
        if (m_listener) {
            m_listener(verdict);
        }
    }

private:
    VerdictListener m_listener;
    int m_skipped = 0;
};

}  // namespace zeb

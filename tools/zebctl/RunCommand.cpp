// zebctl run: a settings document's steps run on the instrument by the same sequencer as the
// run dialog, driven by real timers, as an operator who answers every question with OK. The
// progress an operator would watch is printed line by line; SIGINT and SIGTERM act as STOP.
// Every run is journalled; a run cut short can be resumed from its journal.

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

#include <algorithm>
#include <csignal>
#include <memory>
#include <optional>
#include <vector>

#include "Cli.h"
#include "DocumentJson.h"
#include "JournalRecovery.h"
#include "LinkSession.h"
#include "ReportPdf.h"
#include "RunJournalObserver.h"
#include "RunMonitor.h"
#include "RunPreChecks.h"
#include "RunSequencer.h"
#include "SettingsDoc.h"
#include "TestReport.h"
#include "TimerHost.h"
#include "ZebM40Cntl.h"

namespace zebctl {

namespace {

const char kRunUsage[] =
    "run [--port N] <FILE.zms|FILE.json> [--from N | --resume JOURNAL] [--line-on] "
    "[--report OUT.xlsx] [--report-pdf OUT.pdf] [--journal PATH] [--monitor COMMAND] "
    "[--monitor-timeout S] "
    "[--monitor-every S] [--stop-on-fail]";

// How long START may wait for a busy instrument before the run gives up (idle ticks of 100 ms).
constexpr int kMaxWaitTicks = 600;

volatile std::sig_atomic_t g_stopSignal = 0;

extern "C" void OnStopSignal(int) {
    g_stopSignal = 1;
}

QString OutcomeText(zeb::RunOutcome outcome) {
    switch (outcome) {
        case zeb::RunOutcome::Complete:
            return QStringLiteral("complete");
        case zeb::RunOutcome::Error:
            return QStringLiteral("error");
        case zeb::RunOutcome::NoLink:
            return QStringLiteral("no-link");
        default:
            return QStringLiteral("stopped");
    }
}

QString ResultText(int result) {
    switch (result) {
        case zeb::kResultPass:
            return QStringLiteral("PASS");
        case zeb::kResultFail:
            return QStringLiteral("FAIL");
        default:
            return QStringLiteral("------");
    }
}

// Prints what changed since the last look: the progress line and every step result.
class ProgressPrinter {
public:
    ProgressPrinter(const zeb::CRunSequencer& seq, const zeb::ExecDataList& steps)
        : m_seq(seq), m_steps(steps) {
        for (const zeb::CExecData& s : steps) {
            m_results.push_back(s.m_nResult);
        }
    }

    void Look(bool running) {
        // A step the monitor is still judging has no result to print yet.
        for (size_t i = 0; i < m_steps.size() && m_seq.Phase() != zeb::RunPhase::Holding; ++i) {
            if (m_steps[i].m_nResult != m_results[i]) {
                m_results[i] = m_steps[i].m_nResult;
                Out(QStringLiteral("mark step=%1 result=%2")
                        .arg(i + 1)
                        .arg(ResultText(m_results[i])));
            }
        }
        if (!running) {
            return;
        }
        const zeb::ExecPanelState& s = m_seq.State();
        const QString state = m_seq.InstrumentBusy()                   ? QStringLiteral("busy")
                              : m_seq.Phase() == zeb::RunPhase::Paused ? QStringLiteral("paused")
                                                                       : QStringLiteral("running");
        const QString line =
            QStringLiteral("step=%1/%2 discharges=%3/%4 countdown=%5 remaining_s=%6 state=%7")
                .arg(s.stepNumber, s.stepTotal, s.dischargeDone.trimmed(), s.dischargeTotal,
                     s.countdown.trimmed())
                .arg(m_seq.RemainingSeconds())
                .arg(state);
        if (line != m_lastLine) {
            m_lastLine = line;
            Out(line);
        }
    }

    // Takes the results as they are now as printed (the monitor printed its own marks).
    void Sync() {
        for (size_t i = 0; i < m_steps.size(); ++i) {
            m_results[i] = m_steps[i].m_nResult;
        }
    }

    int Passed() const {
        int n = 0;
        for (const zeb::CExecData& s : m_steps) {
            n += s.m_nResult == zeb::kResultPass ? 1 : 0;
        }
        return n;
    }

private:
    const zeb::CRunSequencer& m_seq;
    const zeb::ExecDataList& m_steps;
    std::vector<int> m_results;
    QString m_lastLine;
};

// Refuses a report path before anything is sent: the report never replaces a file, and its
// folder must exist and be writable.
bool ReportPathUsable(const QString& path) {
    const QFileInfo info(path);
    if (info.exists()) {
        Err(QStringLiteral("zebctl: %1 already exists; a report never replaces a file").arg(path));
        return false;
    }
    const QFileInfo folder(info.absolutePath());
    if (!folder.isDir() || !folder.isWritable()) {
        Err(QStringLiteral("zebctl: cannot write a report into %1").arg(info.absolutePath()));
        return false;
    }
    return true;
}

// The interrupted run of resumePath put back into doc: results and comments restored, the
// current step the first one not ended. False (with the reason told) when the journal is
// broken or belongs to another document.
bool Resume(const QString& resumePath, const QString& docPath, zeb::CZebM40SettingsDoc& doc,
            zeb::JournalState& state) {
    QString error;
    QFile file(docPath);
    if (!file.open(QIODevice::ReadOnly)) {
        Err(QStringLiteral("zebctl: cannot read %1").arg(docPath));
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (!zeb::ReadJournalState(resumePath, state, error) ||
        !zeb::RestoreFromJournal(state, bytes, doc, error)) {
        Err(QStringLiteral("zebctl: cannot resume from %1: %2").arg(resumePath, error));
        return false;
    }
    return true;
}

// The run's journal, at the given path or a new one in the default folder. An explicit path
// that cannot be made refuses the run (nothing was sent yet); the default one only warns.
bool StartJournal(const QString& path, const zeb::JournalOpenInfo& info,
                  const zeb::CZebM40SettingsDoc& doc,
                  std::unique_ptr<zeb::CRunJournalFile>& journal) {
    if (path.isEmpty()) {
        journal = zeb::StartRunJournal(zeb::DefaultJournalFolder(), doc, info);
    } else {
        auto file = std::make_unique<zeb::CRunJournalFile>();
        QString error;
        if (!file->Create(path, error)) {
            Err(QStringLiteral("zebctl: %1").arg(error));
            return false;
        }
        file->Open(info);
        journal = std::move(file);
    }
    if (journal) {
        Out(QStringLiteral("journal=%1").arg(journal->Path()));
    }
    return true;
}

int Finish(zeb::RunOutcome outcome, const ProgressPrinter& printer, int total) {
    Out(QStringLiteral("outcome=%1").arg(OutcomeText(outcome)));
    Out(QStringLiteral("passed=%1/%2").arg(printer.Passed()).arg(total));
    return outcome == zeb::RunOutcome::Complete ? kExitOk : kExitInstrument;
}

int Run(const QStringList& arguments) {
    QStringList args = arguments;
    int portNo = 0;
    QString fromText;
    QString reportPath;
    QString pdfPath;
    QString journalPath;
    QString resumePath;
    if (!TakePortOption(args, portNo) || !TakeOption(args, QStringLiteral("--from"), fromText) ||
        !TakeOption(args, QStringLiteral("--report"), reportPath) ||
        !TakeOption(args, QStringLiteral("--report-pdf"), pdfPath) ||
        !TakeOption(args, QStringLiteral("--journal"), journalPath) ||
        !TakeOption(args, QStringLiteral("--resume"), resumePath)) {
        return kExitBadInput;
    }
    const bool lineOn = TakeFlag(args, QStringLiteral("--line-on"));
    RunMonitorOptions monitorOptions;
    if (!TakeMonitorOptions(args, monitorOptions)) {
        return kExitBadInput;
    }
    if (args.size() != 1 || (!fromText.isEmpty() && !resumePath.isEmpty())) {
        Err(QStringLiteral("usage: zebctl %1").arg(QLatin1String(kRunUsage)));
        return kExitBadInput;
    }

    zeb::CZebM40SettingsDoc doc;
    QString error;
    if (!zeb::LoadDocumentFile(args.at(0), std::nullopt, 0, doc, error)) {
        Err(QStringLiteral("zebctl: %1").arg(error));
        return kExitBadInput;
    }
    doc.SetPathName(QFileInfo(args.at(0)).absoluteFilePath());  // the journal hashes its bytes
    const int total = static_cast<int>(doc.Steps().size());
    if (total == 0) {
        Err(QStringLiteral("zebctl: %1 has no test steps to run").arg(args.at(0)));
        return kExitBadInput;
    }
    long long from = 1;
    if (!fromText.isEmpty() && (!ParseInt(fromText, from) || from < 1 || from > total)) {
        Err(QStringLiteral("zebctl: --from needs a step number from 1 to %1").arg(total));
        return kExitBadInput;
    }
    if ((!reportPath.isEmpty() && !ReportPathUsable(reportPath)) ||
        (!pdfPath.isEmpty() && !ReportPathUsable(pdfPath))) {
        return kExitBadInput;
    }
    zeb::EutMonitorSettings monitorSettings;
    if (!MonitorSettingsFor(monitorOptions, monitorSettings)) {
        return kExitBadInput;
    }
    zeb::JournalState resumed;
    if (!resumePath.isEmpty()) {
        if (!Resume(resumePath, args.at(0), doc, resumed)) {
            return kExitBadInput;
        }
        from = resumed.firstNotEnded + 1;
    }
    if (!journalPath.isEmpty() && QFileInfo::exists(journalPath)) {
        Err(QStringLiteral("zebctl: %1 already exists; a journal never replaces a file")
                .arg(journalPath));
        return kExitBadInput;
    }

    zeb::CZebM40Cntl cntl{zeb::SerialAccess::System()};
    zeb::CQtTimerHost* timerPtr = nullptr;
    std::optional<zeb::CRunSequencer> seq;
    QEventLoop loop;
    enum class Phase { Waiting, Running, Done } phase = Phase::Waiting;
    int waitTicks = 0;
    std::optional<zeb::RunOutcome> outcome;
    bool started = false;

    zeb::CQtTimerHost timers([&](int id) {
        seq->OnTimer(id);
        if (phase == Phase::Waiting && id == zeb::runtimer::kIdlePoll) {
            if (seq->Phase() == zeb::RunPhase::LinkLost) {
                Err(QStringLiteral("zebctl: the instrument does not answer"));
                outcome = zeb::RunOutcome::NoLink;
            } else if (seq->StartOffered()) {
                seq->OnStart();
                if (seq->Phase() == zeb::RunPhase::Running) {
                    phase = Phase::Running;
                    started = true;
                } else if (seq->Outcome() != zeb::RunOutcome::None) {
                    outcome = seq->Outcome();  // the step was refused before it was sent
                }
            } else if (seq->Phase() == zeb::RunPhase::Idle) {
                // Idle yet START is not offered: the synchronised test lacks its line.
                Err(QStringLiteral("A synchronised test needs the EUT line on (--line-on)."));
                outcome = zeb::RunOutcome::Stopped;
            }
            if (!outcome && phase == Phase::Waiting && ++waitTicks > kMaxWaitTicks) {
                Err(QStringLiteral("zebctl: the instrument stayed busy; the test was not started"));
                outcome = zeb::RunOutcome::Stopped;
            }
        }
        if (phase == Phase::Running && seq->Outcome() != zeb::RunOutcome::None) {
            outcome = seq->Outcome();
        }
        if (outcome) {
            phase = Phase::Done;
            loop.quit();
        }
    });
    timerPtr = &timers;
    seq.emplace(doc, cntl, *timerPtr);
    ProgressPrinter printer(*seq, doc.Steps());
    // Once the test has ended, the figures reset for the next run are not progress.
    seq->SetStateListener(
        [&] { printer.Look(phase == Phase::Running && seq->Outcome() == zeb::RunOutcome::None); });
    std::unique_ptr<zeb::CRunJournalFile> journal;
    std::unique_ptr<CRunMonitor> monitor;
    if (monitorSettings.Enabled()) {
        monitor = CRunMonitor::Make(
            monitorSettings, *seq, doc, QFileInfo(args.at(0)).absoluteFilePath(),
            [&printer, &journal](const zeb::MonitorVerdict& v, int result) {
                printer.Sync();
                if (journal) {
                    journal->Observer().RecordMonitorVerdict(v, result);
                }
            },
            error);
        if (!monitor) {
            Err(QStringLiteral("zebctl: the EUT monitor: %1").arg(error));
            return kExitBadInput;
        }
    }

    // The test date is the opening's, so the report from the journal equals the run's own.
    zeb::CTestProperty property;
    property.LoadFromIni();
    property.m_tmTestDate = QDateTime::currentSecsSinceEpoch();
    const bool connected = ConnectInstrument(cntl, portNo);
    doc.SetCurrentStep(static_cast<int32_t>(std::min<long long>(from - 1, total - 1)));
    zeb::JournalOpenInfo info = zeb::RunOpenInfo(doc, property, cntl);
    zeb::NoteResumedRun(doc, info.resumesJournal, info.endedSteps);
    if (!StartJournal(journalPath, info, doc, journal)) {
        return kExitBadInput;
    }
    if (journal && !zeb::ContinueResumedRun(doc, journal->Path(), error)) {
        Err(QStringLiteral("zebctl: %1").arg(error));
    }
    zeb::IRunObserver* observer = journal ? &journal->Observer() : nullptr;
    seq->SetObserver(observer);
    const auto closeEarly = [&](zeb::RunOutcome outcome) {
        if (observer) {
            observer->OnClosed(outcome);
        }
        return Finish(outcome, printer, total);
    };
    if (from > total) {
        // The interrupted run had ended every step; only its close was missing.
        return closeEarly(zeb::RunOutcome::Complete);
    }
    if (!connected) {
        return closeEarly(zeb::RunOutcome::NoLink);
    }
    if (!zeb::RunPreChecks(cntl, doc)) {
        return closeEarly(zeb::RunOutcome::Stopped);
    }
    seq->Open();
    if (lineOn) {
        if (seq->LineOnOffered()) {
            seq->OnLineOn();
        } else {
            // SURGE OUTPUT and TELECOM tests never switch the EUT line through the generator.
            Err(
                QStringLiteral("zebctl run: --line-on is ignored: this output port does not "
                               "switch the EUT line."));
        }
    }

    // STOP by signal: the flag is looked at from the event loop, never from the handler.
    g_stopSignal = 0;
    std::signal(SIGINT, OnStopSignal);
    std::signal(SIGTERM, OnStopSignal);
    QTimer signalWatch;
    QObject::connect(&signalWatch, &QTimer::timeout, [&] {
        if (!g_stopSignal || phase == Phase::Done) {
            return;
        }
        g_stopSignal = 0;
        if (phase == Phase::Running) {
            seq->OnStop();
        } else {
            outcome = zeb::RunOutcome::Stopped;
            phase = Phase::Done;
            loop.quit();
        }
    });
    signalWatch.start(50);
    if (phase != Phase::Done) {
        loop.exec();
    }
    signalWatch.stop();
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);

    monitor.reset();  // no verdict may arrive once the run is closed
    printer.Look(false);
    bool reportFailed = false;
    if (!reportPath.isEmpty() && started) {
        if (zeb::WriteTestReport(property, doc, reportPath, error)) {
            if (observer) {
                observer->OnReportWritten(reportPath);
            }
        } else {
            Err(QStringLiteral("zebctl: %1").arg(error));
            reportFailed = true;
        }
    }
    if (!pdfPath.isEmpty() && started &&
        !IssueRunReportPdf(doc, property, journal.get(), pdfPath)) {
        reportFailed = true;
    }
    seq->Destroy();  // the journal's close line
    const int code = Finish(outcome.value_or(zeb::RunOutcome::Stopped), printer, total);
    return reportFailed ? kExitBadInput : code;
}

const ZebctlCommand kRun("run", kRunUsage, [](const QStringList& a) { return Run(a); });

}  // namespace

}  // namespace zebctl

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
#include "FileRunJournal.h"
#include "JournalRecovery.h"
#include "LinkSession.h"
#include "ReportPdf.h"
#include "RunMonitor.h"
#include "RunPreChecks.h"
#include "RunSequencer.h"
#include "RunSession.h"
#include "SettingsDoc.h"
#include "TestProperty.h"
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
    ProgressPrinter(const zeb::CRunSession& session, const zeb::ExecDataList& steps)
        : m_session(session), m_seq(session.Sequencer()), m_steps(steps) {
        for (const zeb::CExecData& s : steps) {
            m_results.push_back(s.m_nResult);
        }
    }

    void Look(bool running) {
        // A step the monitor is still judging has no result to print yet.
        for (size_t i = 0; i < m_steps.size() && m_session.ResultsSettled(); ++i) {
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
        const zeb::ExecPanelState s = m_seq.State();
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
    const zeb::CRunSession& m_session;
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

// Why a test that was waited for never began, as the operator is told it.
void TellWhyNotStarted(zeb::AutoStartEnd why) {
    switch (why) {
        case zeb::AutoStartEnd::NoAnswer:
            Err(QStringLiteral("zebctl: the instrument does not answer"));
            break;
        case zeb::AutoStartEnd::NeedsLine:
            Err(QStringLiteral("A synchronised test needs the EUT line on (--line-on)."));
            break;
        case zeb::AutoStartEnd::StayedBusy:
            Err(QStringLiteral("zebctl: the instrument stayed busy; the test was not started"));
            break;
        default:
            break;
    }
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
    // The test date is the opening's, so the report from the journal equals the run's own.
    zeb::CTestProperty property;
    property.LoadFromIni();
    property.m_tmTestDate = QDateTime::currentSecsSinceEpoch();
    zeb::RunSessionSettings settings;
    settings.journal = journalPath.isEmpty() ? zeb::RunSessionSettings::Journal::InFolder
                                             : zeb::RunSessionSettings::Journal::AtPath;
    settings.journalFolder = zeb::DefaultJournalFolder();
    settings.journalPath = journalPath;
    settings.monitor = monitorSettings;
    settings.documentPath = QFileInfo(args.at(0)).absoluteFilePath();
    zeb::CRunSession session(doc, cntl, property, settings);
    zeb::CRunSequencer& seq = session.Sequencer();
    QEventLoop loop;
    ProgressPrinter printer(session, doc.Steps());
    // Once the test has ended, the figures reset for the next run are not progress.
    session.SetStateListener([&] {
        printer.Look(session.TestStarted() && !session.Finished() &&
                     seq.Outcome() == zeb::RunOutcome::None);
    });
    session.SetFinishListener([&] { loop.quit(); });
    // With no operator to ask, a check without verdict goes on unless told to stop.
    session.SetProblemAnswer(
        [stop = monitorSettings.stopOnFail](const zeb::MonitorVerdict&) { return !stop; });
    session.SetVerdictListener([&](const zeb::MonitorVerdict& v, int result) {
        PrintVerdict(doc, v, result);
        printer.Sync();
    });
    if (!session.UseMonitorOfSettings(error)) {
        Err(QStringLiteral("zebctl: the EUT monitor: %1").arg(error));
        return kExitBadInput;
    }

    const bool connected = ConnectInstrument(cntl, portNo);
    doc.SetCurrentStep(static_cast<int32_t>(std::min<long long>(from - 1, total - 1)));
    QString notice;
    if (!session.OpenJournal(error, notice)) {
        Err(QStringLiteral("zebctl: %1").arg(error));
        return kExitBadInput;
    }
    if (!session.JournalPath().isEmpty()) {
        Out(QStringLiteral("journal=%1").arg(session.JournalPath()));
    }
    if (!notice.isEmpty()) {
        Err(QStringLiteral("zebctl: %1").arg(notice));
    }
    const auto closeEarly = [&](zeb::RunOutcome outcome) {
        session.CloseUnopened(outcome);
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
    session.Open();
    if (lineOn) {
        if (seq.LineOnOffered()) {
            seq.OnLineOn();
        } else {
            // SURGE OUTPUT and TELECOM tests never switch the EUT line through the generator.
            Err(
                QStringLiteral("zebctl run: --line-on is ignored: this output port does not "
                               "switch the EUT line."));
        }
    }
    session.StartWhenReady(kMaxWaitTicks);

    // STOP by signal: the flag is looked at from the event loop, never from the handler.
    g_stopSignal = 0;
    std::signal(SIGINT, OnStopSignal);
    std::signal(SIGTERM, OnStopSignal);
    QTimer signalWatch;
    QObject::connect(&signalWatch, &QTimer::timeout, [&] {
        if (g_stopSignal && !session.Finished()) {
            g_stopSignal = 0;
            session.StopRequested();
        }
    });
    signalWatch.start(50);
    if (!session.Finished()) {
        loop.exec();
    }
    signalWatch.stop();
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    TellWhyNotStarted(session.AutoStartEnded());

    session.DropMonitor();  // no verdict may arrive once the run is closed
    printer.Look(false);
    bool reportFailed = false;
    if (!reportPath.isEmpty() && session.TestStarted()) {
        if (!session.WriteReport(reportPath, error)) {
            Err(QStringLiteral("zebctl: %1").arg(error));
            reportFailed = true;
        }
    }
    if (!pdfPath.isEmpty() && session.TestStarted() &&
        !IssueRunReportPdf(doc, property, session.JournalFile(), pdfPath)) {
        reportFailed = true;
    }
    session.Close();  // the journal's close line
    const int code = Finish(session.Finished() ? session.FinalOutcome() : zeb::RunOutcome::Stopped,
                            printer, total);
    return reportFailed ? kExitBadInput : code;
}

const ZebctlCommand kRun("run", kRunUsage, [](const QStringList& a) { return Run(a); });

}  // namespace

}  // namespace zebctl

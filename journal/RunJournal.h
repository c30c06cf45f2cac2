#pragma once
// What a test run reports to its journal. The sequencer calls one method per event, never per
// poll tick; each call returns only after the line is durable (or reports why it is not), so
// the program acts on nothing the journal has not recorded. Write failures come back as false
// with LastError(); they never throw or crash.

#include <QDateTime>
#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

#include "JournalLine.h"
#include "JournalSchema.h"

namespace zeb {

class CZebM40SettingsDoc;

// Who put a judgement on a step.
enum class JudgedBy { Operator, Bulk, Sequencer, Monitor };
// How the run (one opening of the run dialog, one zebctl run) ended. Abandoned is written later
// by whoever declines to restore an interrupted run, Resumed by the run that continues it.
enum class RunEnd { Complete, Stopped, Error, NoLink, Closed, Abandoned, Resumed };

// What an EUT monitor answered: a verdict, or a problem that is none.
enum class JournalVerdict { Pass, Fail, Problem };

QString JudgedByText(JudgedBy by);
QString RunEndText(RunEnd end);
QString JournalVerdictText(JournalVerdict verdict);

// Everything the open event records: what was run, with which environment, on which instrument.
struct JournalOpenInfo {
    QString programVersion;
    QString documentPath;
    QByteArray documentSha256;  // lowercase hex of the document file's bytes
    QJsonObject document;       // DocumentToJson: the record and every step with all its fields
    QJsonObject environment;    // TestPropertyToJson of the test environment
    QString instrumentReply;    // the identification reply as received
    quint32 machineType = 0;
    int hwVersion = 0;
    QString port;           // "COM3 (/dev/ttyUSB0)"
    QString operatorLogin;  // the login name of whoever runs the program
    int currentStep = 0;    // 0-based step the dialog opens on
    // The plan's test standard and the findings of its check ({"profile", "title", "level",
    // "voltage", "findings"}, built by the caller); empty when the plan has none.
    QJsonObject standard;
    // A run that continues an interrupted one names that journal and the steps it had ended.
    QString resumesJournal;
    std::vector<int> endedSteps;  // 1-based
};

// What the EUT monitor found for a step, and the step result it left.
struct JournalMonitorEntry {
    int step = 1;   // 1-based
    QString phase;  // "during" or "after"
    JournalVerdict verdict = JournalVerdict::Problem;
    int result = 0;  // ResultCode (or kJournalResultPending) the step was left with
    QString comment;
    int exitStatus = -1;  // -1 when the command did not exit by itself
    qint64 durationMs = 0;
    QByteArray output;  // the beginnings of the command's output and error output (UTF-8)
    QByteArray errorOutput;
};

// The open info filled from a document: path, document JSON, current step, and the hash of
// documentBytes (the file as it lies on disk). Version and login name are filled in as well.
JournalOpenInfo OpenInfoForDocument(const CZebM40SettingsDoc& doc, const QByteArray& documentBytes);

// The login name of the user running the program (empty when the system names none).
QString LoginName();

class IRunJournal {
public:
    virtual ~IRunJournal() = default;

    bool Open(const JournalOpenInfo& info);
    // 1-based step and the commands of its parameter block as they go to the instrument; written
    // before the test is started.
    bool StepStart(int step, const QStringList& commands);
    bool StepEnd(int step, int result, int dischargesDone);
    bool Judgement(int step, int result, const QString& comment, JudgedBy by);
    bool CommentsCleared();
    bool Stop();
    bool Error(int code, const QString& text);
    bool LinkLost();
    // One test of the run ended (a run dialog may run several; the close names the last).
    bool RunEnded(RunEnd outcome);
    bool Monitor(const JournalMonitorEntry& entry);
    // The written report: its path and the SHA-256 of its bytes (hashed here).
    bool Report(const QString& path);
    bool Report(const QString& path, const QByteArray& sha256Hex);
    // An issued PDF report: its path, the SHA-256 of its bytes and its number; and one that was
    // printed instead of saved.
    bool IssuedReport(const QString& pdfPath, const QByteArray& pdfSha256Hex,
                      const QString& reportNumber);
    bool PrintedReport(const QString& reportNumber);
    // The last line. A run continued by another names that run's journal (`resumed_by`).
    bool Close(RunEnd outcome, const QString& resumedBy = QString());

    // Writes one line: the calls above build theirs from the journal's table (JournalSchema.h);
    // an event added later gets its row there and its own call here. Fields in the order given;
    // the names seq, time, event and prev are refused.
    virtual bool Event(const QString& name, const JournalFields& fields) = 0;
    virtual QString LastError() const = 0;

private:
    // The event's line built from the schema: values in the order of its fields.
    bool Write(JournalEvent event, std::initializer_list<QJsonValue> values);
};

// Numbers the lines and chains their hashes; shared by the file and the in-memory journal.
class CJournalChain {
public:
    CJournalChain();
    // Continues an existing chain: the next line gets nextSeq and prevHex.
    void Continue(qint64 nextSeq, const QByteArray& prevHex);
    // The clock for the time field (UTC); tests set a fixed one.
    void SetClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }

    // The next line (no line feed), or an empty array with error for a reserved field name.
    QByteArray Next(const QString& event, const JournalFields& fields, QString& error) const;
    // The line was durably written: the chain moves on.
    void Commit(const QByteArray& line);
    qint64 NextSeq() const { return m_nextSeq; }

private:
    qint64 m_nextSeq = 1;
    QByteArray m_prev;
    std::function<QDateTime()> m_clock;
};

// Keeps the lines in memory: for tests of whatever writes a journal, and for benchmarks.
class CMemoryRunJournal : public IRunJournal {
public:
    bool Event(const QString& name, const JournalFields& fields) override;
    QString LastError() const override { return m_error; }

    // From now on every event fails as a full disk would (nothing is recorded).
    void SetFailing(bool failing) { m_failing = failing; }
    CJournalChain& Chain() { return m_chain; }

    const QList<QByteArray>& Lines() const { return m_lines; }
    QStringList EventNames() const { return m_names; }
    // The whole journal as a file would hold it.
    QByteArray Bytes() const;

private:
    CJournalChain m_chain;
    QList<QByteArray> m_lines;
    QStringList m_names;
    QString m_error;
    bool m_failing = false;
};

}  // namespace zeb

#include "RunJournalObserver.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include "JournalRecovery.h"
#include "MessageSeam.h"
#include "SettingsDoc.h"
#include "StandardVerdict.h"
#include "TestPropertyJson.h"
#include "ZebM40Cntl.h"

namespace zeb {

QString JournalFailedText(const QString& why) {
    return QStringLiteral(
               "The run journal cannot be written (%1).\nThe test goes on; its results are kept "
               "only in memory until the test report is made.")
        .arg(why);
}

RunEnd RunEndOf(RunOutcome outcome) {
    switch (outcome) {
        case RunOutcome::Complete:
            return RunEnd::Complete;
        case RunOutcome::Stopped:
            return RunEnd::Stopped;
        case RunOutcome::Error:
            return RunEnd::Error;
        case RunOutcome::NoLink:
            return RunEnd::NoLink;
        case RunOutcome::None:
            break;
    }
    return RunEnd::Closed;
}

bool CRunJournalObserver::Note(bool written) {
    if (!written && !m_failed) {
        m_failed = true;
        const QString text = JournalFailedText(m_journal.LastError());
        if (m_onFailure) {
            m_onFailure(text);
        } else {
            ShowMessage(text, MsgButtons::Ok, MsgIcon::Warning);
        }
    }
    return written;
}

bool CRunJournalObserver::Open(const JournalOpenInfo& info) {
    return Note(m_journal.Open(info));
}

bool CRunJournalObserver::RecordMonitorVerdict(const MonitorVerdict& verdict, int result) {
    JournalMonitorEntry entry;
    entry.step = verdict.request.step;
    entry.phase = PhaseName(verdict.request.phase);
    switch (verdict.outcome) {
        case MonitorOutcome::Pass:
            entry.verdict = JournalVerdict::Pass;
            break;
        case MonitorOutcome::Fail:
            entry.verdict = JournalVerdict::Fail;
            break;
        case MonitorOutcome::Problem:
            entry.verdict = JournalVerdict::Problem;
            break;
    }
    entry.result = result;
    entry.comment = verdict.comment;
    entry.exitStatus = verdict.exitStatus;
    entry.durationMs = verdict.durationMs;
    entry.output = verdict.output;
    entry.errorOutput = verdict.errorOutput;
    return Note(m_journal.Monitor(entry));
}

void CRunJournalObserver::OnStepStarted(int step, const QStringList& block) {
    Note(m_journal.StepStart(step + 1, block));
}

void CRunJournalObserver::OnStepEnded(int step, int result, qint64 discharges) {
    Note(m_journal.StepEnd(step + 1, result, static_cast<int>(discharges)));
}

void CRunJournalObserver::OnJudgement(int step, int result, const QString& comment, JudgedBy by) {
    Note(m_journal.Judgement(step + 1, result, comment, by));
}

void CRunJournalObserver::OnCommentsCleared() {
    Note(m_journal.CommentsCleared());
}

void CRunJournalObserver::OnStopSent(StopBy) {
    Note(m_journal.Stop());
}

void CRunJournalObserver::OnInstrumentError(int code, const QString& text) {
    Note(m_journal.Error(code, text));
}

void CRunJournalObserver::OnLinkLost() {
    Note(m_journal.LinkLost());
}

// A dialog may run several tests; each end is kept, the close names the last.
void CRunJournalObserver::OnRunEnded(RunOutcome outcome) {
    Note(m_journal.RunEnded(RunEndOf(outcome)));
}

void CRunJournalObserver::OnReportWritten(const QString& path) {
    Note(m_journal.Report(path));
}

// A close line that cannot be written now is tried again later (RetryUnwrittenCloses), so a
// full disk that is cleared in time still leaves a closed journal.
void CRunJournalObserver::OnClosed(RunOutcome outcome) {
    if (!Note(m_journal.Close(RunEndOf(outcome))) && !m_filePath.isEmpty()) {
        NoteUnwrittenClose(m_filePath, RunEndOf(outcome));
    }
}

JournalOpenInfo RunOpenInfo(const CZebM40SettingsDoc& doc, const CTestProperty& property,
                            const CZebM40Cntl& cntl) {
    // The document as it is run: the file's bytes while it is saved as it stands, otherwise what
    // saving it would write. A run of unsaved edits thus never matches the older file on disk,
    // and its results are never restored onto steps they were not recorded for.
    QByteArray bytes;
    QFile file(doc.PathName());
    if (doc.IsModified() || doc.PathName().isEmpty() || !file.open(QIODevice::ReadOnly)) {
        bytes = doc.Store();
    } else {
        bytes = file.readAll();
    }
    JournalOpenInfo info = OpenInfoForDocument(doc, bytes);
    info.environment = TestPropertyToJson(property);
    info.instrumentReply = cntl.IdentReply();
    info.standard = StandardJson(EvaluateStandard(doc, InstalledProfiles()));
    if (cntl.IsConnected()) {
        info.port = QStringLiteral("COM%1 (%2)").arg(cntl.PortNo()).arg(cntl.DeviceName());
        info.hwVersion = cntl.InstHWVersion();
    }
    return info;
}

bool CRunJournalFile::Create(const QString& path, QString& error) {
    if (!m_file.Create(path, error)) {
        return false;
    }
    m_observer.SetFilePath(path);
    return true;
}

QString RunJournalName(const CZebM40SettingsDoc& doc) {
    const QString name = QFileInfo(doc.PathName()).completeBaseName();
    return name.isEmpty() ? QStringLiteral("untitled") : name;
}

std::unique_ptr<CRunJournalFile> StartRunJournal(const QString& folder,
                                                 const CZebM40SettingsDoc& doc,
                                                 const JournalOpenInfo& info) {
    return StartRunJournalAt(
        NewJournalPath(folder, RunJournalName(doc), QDateTime::currentDateTime()), info);
}

std::unique_ptr<CRunJournalFile> StartRunJournalAt(const QString& path,
                                                   const JournalOpenInfo& info) {
    auto journal = std::make_unique<CRunJournalFile>();
    QString error;
    if (!journal->Create(path, error)) {
        ShowMessage(JournalFailedText(error), MsgButtons::Ok, MsgIcon::Warning);
        return nullptr;
    }
    journal->Open(info);
    return journal;
}

}  // namespace zeb

#include "JournalRecovery.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>

#include <algorithm>

#include "DocumentJson.h"
#include "FileRunJournal.h"
#include "JournalLine.h"
#include "SettingsDoc.h"
#include "StepComment.h"

namespace zeb {

namespace {

// Replays the events of one journal into a JournalState; the first impossible event stops it.
class Replay {
public:
    explicit Replay(JournalState& state) : m_state(state) {}

    void Take(const JournalEntry& entry) {
        if (!m_error.isEmpty()) {
            return;
        }
        const QJsonObject& line = entry.line;
        if (entry.seq == 1) {
            return Open(entry);
        }
        if (m_state.closed) {
            return;  // nothing after the close line belongs to the run
        }
        const QString& event = entry.event;
        if (event == QLatin1String("step-start")) {
            const int step = Step(entry);
            if (step > 0) {
                m_pending[step - 1] = false;  // a new run of the step
                if (m_firstStarted == 0) {
                    m_firstStarted = step;
                }
            }
        } else if (event == QLatin1String("step-end")) {
            const int step = Step(entry);
            const int result = Result(entry);
            if (step > 0 && result == kJournalResultPending) {
                // Its last discharge is done; the step ends with the verdict that follows.
                m_pending[step - 1] = true;
                m_state.results[step - 1] = kResultNone;
            } else if (step > 0 && result >= 0) {
                EndStep(step, result);
            }
        } else if (event == QLatin1String("judgement")) {
            const int step = Step(entry);
            const int result = Result(entry);
            if (step > 0 && result == kJournalResultPending) {
                m_error = QStringLiteral("seq %1 judges a step as pending").arg(entry.seq);
            } else if (step > 0 && result >= 0) {
                m_state.comments[step - 1] = line.value(QLatin1String("comment")).toString();
                if (m_pending[step - 1]) {
                    EndStep(step, result);  // the verdict the step waited for
                }
                m_state.results[step - 1] = result;
            }
        } else if (event == QLatin1String("comments-cleared")) {
            std::fill(m_state.comments.begin(), m_state.comments.end(), QString());
        } else if (event == QLatin1String("close")) {
            m_state.closed = true;
            m_state.outcome = line.value(QLatin1String("outcome")).toString();
        }
    }

    // Settles the step to go on with: the first step not ended from where the run started,
    // else the first not ended at all.
    void Finish() {
        if (!m_error.isEmpty()) {
            return;
        }
        const int count = m_state.stepCount;
        // A step still waiting for its verdict was not judged: it has no result and is done
        // again.
        for (int i = 0; i < count; ++i) {
            if (m_pending[i]) {
                m_state.results[i] = kResultNone;
                m_state.comments[i] =
                    ReplaceMonitorComment(m_state.comments[i], InterruptedVerdictComment());
            }
        }
        const int from = std::clamp(m_firstStarted > 0 ? m_firstStarted - 1 : m_openStep, 0,
                                    std::max(count - 1, 0));
        m_state.firstNotEnded = count;
        for (int i = 0; i < count; ++i) {
            const int index = (from + i) % count;
            if (!m_state.ended[index]) {
                m_state.firstNotEnded = index;
                break;
            }
        }
    }

    const QString& Error() const { return m_error; }

private:
    void EndStep(int step, int result) {
        m_pending[step - 1] = false;
        m_state.ended[step - 1] = true;
        m_state.results[step - 1] = result;
        m_state.lastStepEnded = step;
    }

    void Open(const JournalEntry& entry) {
        const QJsonObject& line = entry.line;
        const QJsonValue steps = line.value(QLatin1String("steps"));
        const QString hash = line.value(QLatin1String("document_sha256")).toString();
        if (entry.event != QLatin1String("open") || !steps.isArray() || hash.isEmpty()) {
            m_error = QStringLiteral("the journal does not begin with an open line");
            return;
        }
        m_state.open = line;
        m_state.started = QDateTime::fromString(entry.time, Qt::ISODateWithMs);
        m_state.documentSha256 = hash.toLatin1();
        const QJsonArray list = steps.toArray();
        m_state.stepCount = static_cast<int>(list.size());
        m_state.results.assign(list.size(), kResultNone);
        m_state.comments.assign(list.size(), QString());
        m_state.ended.assign(list.size(), false);
        m_pending.assign(list.size(), false);
        for (qsizetype i = 0; i < list.size(); ++i) {
            const QJsonObject step = list.at(i).toObject();
            const int result = step.value(QLatin1String("m_nResult")).toInt(kResultNone);
            m_state.results[i] =
                result == kResultPass || result == kResultFail ? result : kResultNone;
            m_state.comments[i] = step.value(QLatin1String("m_strComment")).toString();
        }
        for (const QJsonValue& v : line.value(QLatin1String("ended")).toArray()) {
            const int step = v.toInt(0);
            if (step >= 1 && step <= m_state.stepCount) {
                m_state.ended[step - 1] = true;
            }
        }
        m_openStep = line.value(QLatin1String("current_step")).toInt(1) - 1;
    }

    int Step(const JournalEntry& entry) {
        const QJsonValue v = entry.line.value(QLatin1String("step"));
        const int step = v.toInt(0);
        if (!v.isDouble() || step < 1 || step > m_state.stepCount) {
            m_error = QStringLiteral("seq %1 names step %2, which the step list does not have")
                          .arg(entry.seq)
                          .arg(v.toVariant().toString());
            return 0;
        }
        return step;
    }

    int Result(const JournalEntry& entry) {
        const QString text = entry.line.value(QLatin1String("result")).toString();
        const int code = JournalResultCode(text);
        if (code < 0) {
            m_error =
                QStringLiteral("seq %1 records an unknown result \"%2\"").arg(entry.seq).arg(text);
        }
        return code;
    }

    JournalState& m_state;
    QString m_error;
    int m_firstStarted = 0;
    int m_openStep = 0;
    std::vector<bool> m_pending;  // the step ended, its verdict is still to come
};

// The first line of a journal alone, so a folder of long journals is searched without reading
// them whole (empty when it is no JSON object).
QJsonObject FirstLine(const QString& path) {
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
        return QJsonObject();
    }
    return QJsonDocument::fromJson(file.readLine(journal::kMaxLineBytes)).object();
}

}  // namespace

QString JournalState::DocumentName() const {
    const QString path = open.value(QLatin1String("document")).toString();
    const QString name = QFileInfo(path).fileName();
    return name.isEmpty() ? QString::fromLatin1(CZebM40SettingsDoc::kDefaultTitle) : name;
}

bool ReadJournalState(const QString& path, JournalState& state, QString& error) {
    JournalState read;
    read.path = path;
    Replay replay(read);
    read.check = ReadJournalFile(path, [&](const JournalEntry& e) { replay.Take(e); });
    if (!read.check.IsWhole()) {
        error = QStringLiteral("%1: %2").arg(path, read.check.Describe());
        return false;
    }
    replay.Finish();
    if (!replay.Error().isEmpty()) {
        error = QStringLiteral("%1: %2").arg(path, replay.Error());
        return false;
    }
    read.writeFailed = QFileInfo::exists(WriteFailureMarkerPath(path));
    state = std::move(read);
    return true;
}

bool SameDocumentPath(const QString& a, const QString& b) {
    const auto resolved = [](const QString& path) {
        const QFileInfo info(path);
        const QString canonical = info.canonicalFilePath();
        return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
    };
    return !a.isEmpty() && !b.isEmpty() && resolved(a) == resolved(b);
}

std::vector<JournalState> FindUnclosedJournals(const QString& folder, const QString& documentPath,
                                               const QByteArray& documentBytes,
                                               std::vector<BrokenJournal>* broken) {
    std::vector<JournalState> found;
    const QByteArray hash = Sha256Hex(documentBytes);
    const QFileInfoList files = QDir(folder).entryInfoList(QStringList{QStringLiteral("*.zebrun")},
                                                           QDir::Files | QDir::Hidden, QDir::Name);
    for (const QFileInfo& info : files) {
        const QJsonObject first = FirstLine(info.filePath());
        if (!SameDocumentPath(first.value(QLatin1String("document")).toString(), documentPath)) {
            continue;
        }
        const bool sameBytes =
            first.value(QLatin1String("document_sha256")).toString().toLatin1() == hash;
        JournalState state;
        QString error;
        if (!ReadJournalState(info.filePath(), state, error)) {
            if (broken) {
                const QString named = info.filePath() + QStringLiteral(": ");
                broken->push_back(BrokenJournal{
                    info.filePath(), error.startsWith(named) ? error.mid(named.size()) : error});
            }
            continue;
        }
        if (sameBytes && !state.closed && state.documentSha256 == hash) {
            found.push_back(std::move(state));
        }
    }
    return found;
}

QString RestoreQuestion(const JournalState& state) {
    if (state.writeFailed) {
        return QStringLiteral(
                   "The journal of this run could not be written after step %1. Its results up "
                   "to then can be restored.\n\nRestore its results and comments?")
            .arg(state.lastStepEnded);
    }
    const QString date = state.started.toLocalTime().toString(QStringLiteral("yyyy/MM/dd HH:mm"));
    return QStringLiteral(
               "The test run of %1 on %2 ended unexpectedly after step %3 of %4. "
               "Restore its results and comments?")
        .arg(state.DocumentName(), date)
        .arg(state.lastStepEnded)
        .arg(state.stepCount);
}

QString BrokenJournalNotice(const BrokenJournal& broken) {
    return QStringLiteral(
               "A run journal of this document does not verify, so it is not used:\n%1\n%2")
        .arg(QDir::toNativeSeparators(broken.path), broken.why);
}

bool RestoreFromJournal(const JournalState& state, const QByteArray& documentBytes,
                        CZebM40SettingsDoc& doc, QString& error) {
    if (state.documentSha256.isEmpty() || Sha256Hex(documentBytes) != state.documentSha256) {
        error = QStringLiteral(
                    "The journal %1 belongs to another version of this document; it "
                    "is not applied.")
                    .arg(state.path);
        return false;
    }
    if (static_cast<int>(doc.Steps().size()) != state.stepCount) {
        error = QStringLiteral(
                    "The journal %1 records %2 steps, the document has %3; it is not "
                    "applied.")
                    .arg(state.path)
                    .arg(state.stepCount)
                    .arg(doc.Steps().size());
        return false;
    }
    for (int i = 0; i < state.stepCount; ++i) {
        doc.Steps()[i].m_nResult = state.results[i];
        doc.Steps()[i].m_strComment = state.comments[i];
    }
    CZebM40SettingsDoc::RunResume resume;
    resume.journal = state.path;
    resume.step = std::max(0, std::min(state.firstNotEnded, state.stepCount - 1));
    for (int i = 0; i < state.stepCount; ++i) {
        if (state.ended[static_cast<size_t>(i)]) {
            resume.endedSteps.push_back(i + 1);
        }
    }
    doc.SetCurrentStep(resume.step);
    doc.SetResume(std::move(resume));
    doc.SetModifiedFlag(true);
    return true;
}

bool DocumentFromJournal(const JournalState& state, CZebM40SettingsDoc& doc, QString& error) {
    QJsonObject json;
    json.insert(QStringLiteral("record"), state.open.value(QLatin1String("record")));
    json.insert(QStringLiteral("steps"), state.open.value(QLatin1String("steps")));
    CZebM40SettingsDoc built;
    if (!DocumentFromJson(json, kNoMachineType, 0, built, error)) {
        error =
            QStringLiteral("%1: the recorded document cannot be read: %2").arg(state.path, error);
        return false;
    }
    if (static_cast<int>(built.Steps().size()) != state.stepCount) {
        error = QStringLiteral("%1: the recorded step list cannot be read").arg(state.path);
        return false;
    }
    for (int i = 0; i < state.stepCount; ++i) {
        built.Steps()[i].m_nResult = state.results[i];
        built.Steps()[i].m_strComment = state.comments[i];
    }
    built.SetPathName(state.open.value(QLatin1String("document")).toString());
    doc = std::move(built);
    return true;
}

namespace {
bool CloseInterrupted(const QString& path, RunEnd outcome, const QString& resumedBy,
                      QString& error) {
    JournalState state;
    if (!ReadJournalState(path, state, error)) {
        return false;
    }
    if (state.closed) {
        error = QStringLiteral("%1 is already closed (%2).").arg(path, state.outcome);
        return false;
    }
    CFileRunJournal journal;
    if (!journal.Append(path, error)) {
        return false;
    }
    if (!journal.Close(outcome, resumedBy)) {
        error = journal.LastError();
        return false;
    }
    return true;
}
}  // namespace

bool CloseAbandoned(const QString& path, QString& error) {
    return CloseInterrupted(path, RunEnd::Abandoned, QString(), error);
}

bool CloseResumed(const QString& path, const QString& resumedBy, QString& error) {
    return CloseInterrupted(path, RunEnd::Resumed, resumedBy, error);
}

namespace {
std::vector<std::pair<QString, RunEnd>>& UnwrittenCloses() {
    static std::vector<std::pair<QString, RunEnd>> closes;
    return closes;
}
}  // namespace

void NoteUnwrittenClose(const QString& path, RunEnd outcome) {
    UnwrittenCloses().emplace_back(path, outcome);
}

int RetryUnwrittenCloses() {
    auto& closes = UnwrittenCloses();
    closes.erase(
        std::remove_if(closes.begin(), closes.end(),
                       [](const std::pair<QString, RunEnd>& close) {
                           QString error;
                           JournalState state;
                           if (ReadJournalState(close.first, state, error) && state.closed) {
                               return true;
                           }
                           return CloseInterrupted(close.first, close.second, QString(), error) ||
                                  !QFileInfo::exists(close.first);
                       }),
        closes.end());
    return static_cast<int>(closes.size());
}

void NoteResumedRun(const CZebM40SettingsDoc& doc, QString& resumesJournal,
                    std::vector<int>& endedSteps) {
    if (doc.Resume().journal.isEmpty()) {
        return;
    }
    resumesJournal = QFileInfo(doc.Resume().journal).absoluteFilePath();
    endedSteps = doc.Resume().endedSteps;
}

bool ContinueResumedRun(CZebM40SettingsDoc& doc, const QString& newJournal, QString& error) {
    if (doc.Resume().journal.isEmpty()) {
        return true;
    }
    CZebM40SettingsDoc::RunResume resume = doc.Resume();
    // The journal of an opening that started no test was closed with its dialog; it is
    // continued all the same.
    JournalState old;
    const bool closed =
        (ReadJournalState(resume.journal, old, error) && old.closed) ||
        CloseResumed(resume.journal, QFileInfo(newJournal).absoluteFilePath(), error);
    resume.journal = newJournal;
    doc.SetResume(std::move(resume));
    return closed;
}

}  // namespace zeb

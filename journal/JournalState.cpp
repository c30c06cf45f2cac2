#include "JournalState.h"

#include <QFileInfo>
#include <QJsonArray>

#include <algorithm>
#include <optional>

#include "ExecData.h"
#include "FileRunJournal.h"
#include "JournalSchema.h"
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
        const std::optional<JournalEvent> event = JournalEventOf(entry.event);
        if (event == JournalEvent::StepStart) {
            const int step = Step(entry);
            if (step > 0) {
                m_pending[step - 1] = false;  // a new run of the step
                if (m_firstStarted == 0) {
                    m_firstStarted = step;
                }
            }
        } else if (event == JournalEvent::StepEnd) {
            const int step = Step(entry);
            const int result = Result(entry);
            if (step > 0 && result == kJournalResultPending) {
                // Its last discharge is done; the step ends with the verdict that follows.
                m_pending[step - 1] = true;
                m_state.results[step - 1] = kResultNone;
            } else if (step > 0 && result >= 0) {
                EndStep(step, result);
            }
        } else if (event == JournalEvent::Judgement) {
            const int step = Step(entry);
            const int result = Result(entry);
            if (step > 0 && result == kJournalResultPending) {
                m_error = QStringLiteral("seq %1 judges a step as pending").arg(entry.seq);
            } else if (step > 0 && result >= 0) {
                m_state.comments[step - 1] =
                    line.value(QLatin1String(journal::field::kComment)).toString();
                if (m_pending[step - 1]) {
                    EndStep(step, result);  // the verdict the step waited for
                }
                m_state.results[step - 1] = result;
            }
        } else if (event == JournalEvent::CommentsCleared) {
            std::fill(m_state.comments.begin(), m_state.comments.end(), QString());
        } else if (event == JournalEvent::Close) {
            m_state.closed = true;
            m_state.outcome = line.value(QLatin1String(journal::field::kOutcome)).toString();
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
        const QJsonValue steps = line.value(QLatin1String(journal::field::kSteps));
        const QString hash = line.value(QLatin1String(journal::field::kDocumentSha256)).toString();
        if (JournalEventOf(entry.event) != JournalEvent::Open || !steps.isArray() ||
            hash.isEmpty()) {
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
        for (const QJsonValue& v : line.value(QLatin1String(journal::field::kEnded)).toArray()) {
            const int step = v.toInt(0);
            if (step >= 1 && step <= m_state.stepCount) {
                m_state.ended[step - 1] = true;
            }
        }
        m_openStep = line.value(QLatin1String(journal::field::kCurrentStep)).toInt(1) - 1;
    }

    int Step(const JournalEntry& entry) {
        const QJsonValue v = entry.line.value(QLatin1String(journal::field::kStep));
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
        const QString text = entry.line.value(QLatin1String(journal::field::kResult)).toString();
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

}  // namespace

QString JournalState::DocumentName() const {
    const QString path = open.value(QLatin1String(journal::field::kDocument)).toString();
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

}  // namespace zeb

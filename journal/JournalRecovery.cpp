#include "JournalRecovery.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>

#include <algorithm>

#include "DocumentJson.h"
#include "JournalSchema.h"
#include "SettingsDoc.h"

namespace zeb {

namespace {

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
        if (!SameDocumentPath(first.value(QLatin1String(journal::field::kDocument)).toString(),
                              documentPath)) {
            continue;
        }
        const bool sameBytes =
            first.value(QLatin1String(journal::field::kDocumentSha256)).toString().toLatin1() ==
            hash;
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
    json.insert(QLatin1String(journal::field::kRecord),
                state.open.value(QLatin1String(journal::field::kRecord)));
    json.insert(QLatin1String(journal::field::kSteps),
                state.open.value(QLatin1String(journal::field::kSteps)));
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
    built.SetPathName(state.open.value(QLatin1String(journal::field::kDocument)).toString());
    doc = std::move(built);
    return true;
}

}  // namespace zeb

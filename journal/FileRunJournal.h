#pragma once
// The run journal on disk. Each event is one line written with a single write() and made
// durable with fdatasync() before the call returns. The file comes into existence already
// holding its first line (written to a temporary name and linked to its own), so a journal is
// never found empty, and an existing file is never replaced. A failed write is cut off again,
// so the file keeps whole lines only and the chain goes on with the next event.

#include <QString>

#include <functional>

#include "RunJournal.h"

namespace zeb {

// "<AppLocalDataLocation>/runs".
QString DefaultJournalFolder();
// "YYYYMMDD-HHMMSS-<document name>.zebrun" for a run started at localNow. Characters that cannot
// be part of a file name become '_', and a very long name is shortened.
QString JournalFileName(const QString& documentName, const QDateTime& localNow);
// The same name in folder, with " (2)", " (3)", ... added while the name is taken.
QString NewJournalPath(const QString& folder, const QString& documentName,
                       const QDateTime& localNow);

// The empty file that stands beside a journal while a line of it could not be written (a full
// disk): ".<journal file name>.unwritten" in its folder. It says, after a crash or when even the
// close line could not be written, that the journal stopped for that reason. An empty file
// needs no data blocks, so it can usually be made when the disk is full.
QString WriteFailureMarkerPath(const QString& journalPath);

class CFileRunJournal : public IRunJournal {
public:
    CFileRunJournal() = default;
    ~CFileRunJournal() override;
    CFileRunJournal(const CFileRunJournal&) = delete;
    CFileRunJournal& operator=(const CFileRunJournal&) = delete;

    // A new journal at path (its folder is made when missing). Nothing is written until the
    // first event, which creates the file; false when something already exists there.
    bool Create(const QString& path, QString& error);
    // Continues an existing journal (for instance to close it as abandoned). Its chain must be
    // whole; a line cut off at the end by a crash is removed first (CutBytes tells how many
    // bytes that were), so the next line follows the last whole one.
    bool Append(const QString& path, QString& error);

    bool Event(const QString& name, const JournalFields& fields) override;
    QString LastError() const override { return m_error; }

    const QString& Path() const { return m_path; }
    qint64 CutBytes() const { return m_cutBytes; }
    CJournalChain& Chain() { return m_chain; }
    // Makes the bytes written to the descriptor durable (fdatasync by default); called once
    // for every line before Event returns. Tests count the calls or fail them as a full disk
    // would.
    using SyncFunction = std::function<bool(int fd)>;
    void SetSync(SyncFunction sync);

private:
    bool CreateWithFirstLine(const QByteArray& bytes);
    bool AppendLine(const QByteArray& bytes);
    void MarkWriteFailure() const;

    QString m_path;
    int m_fd = -1;
    qint64 m_size = 0;
    qint64 m_cutBytes = 0;
    CJournalChain m_chain;
    QString m_error;
    SyncFunction m_sync;
};

}  // namespace zeb

#pragma once
// The open settings documents and the document commands that need no window: new, open
// (with the matching rules of the document type), save, save as, the save question before a
// modified document closes, and the recent-file list. Where the operator must pick a file
// name the caller hands in a function that asks for one.

#include <QString>

#include <functional>
#include <memory>
#include <vector>

namespace zeb {

class CRecentFileList;
class CSettingData;
struct StandardRef;
class CZebM40SettingsDoc;
struct CurrentMachine;

class CDocManager {
public:
    // Asks for a file name to save to, proposing `suggested`; empty when the operator cancels.
    using AskPath = std::function<QString(const QString& suggested)>;

    CDocManager(CurrentMachine& machine, CRecentFileList& recent);
    ~CDocManager();

    // A new document for the program's machine type, titled "Test1", "Test2", ...
    CZebM40SettingsDoc* NewDocument();
    // A new document holding a plan made from a standard (File > New from standard...), with
    // that standard; modified, so that closing it asks to save the plan.
    CZebM40SettingsDoc* NewDocumentFrom(const CSettingData& record, const StandardRef& standard);
    // Opens a settings file. An unmodified document of the same file is returned as it is
    // (`activated` set); a refused or unreadable file is reported and gives nullptr. A test run
    // of the file that ended unexpectedly is offered back (see JournalRestore.h).
    CZebM40SettingsDoc* OpenDocument(const QString& path, bool* activated = nullptr);
    // Opens an entry of the recent-file list; a file that no longer exists is reported and
    // dropped from the list.
    CZebM40SettingsDoc* OpenRecent(const QString& path, bool* activated = nullptr);

    // Saves to the document's file, or asks for one when it has none yet.
    bool Save(CZebM40SettingsDoc& doc, const AskPath& ask);
    // Asks for a file (".zms" added when missing) and saves there.
    bool SaveAs(CZebM40SettingsDoc& doc, const AskPath& ask);
    // Before a document closes: a modified one prompts Yes / No / Cancel. True when it may
    // close (saved, or changes discarded).
    bool SaveModified(CZebM40SettingsDoc& doc, const AskPath& ask);
    // Forgets the document (it is destroyed).
    void Close(CZebM40SettingsDoc* doc);

    // File name, or the "TestN" title of a document never saved.
    QString Title(const CZebM40SettingsDoc& doc) const;
    std::vector<CZebM40SettingsDoc*> Documents() const;
    CRecentFileList& Recent() { return m_recent; }
    // Where run journals are looked for (default: the program's data folder, runs/).
    void SetJournalFolder(const QString& folder) { m_journalFolder = folder; }

private:
    struct Entry {
        std::unique_ptr<CZebM40SettingsDoc> doc;
        QString title;
    };
    bool SaveTo(CZebM40SettingsDoc& doc, const QString& path);

    CurrentMachine& m_machine;
    CRecentFileList& m_recent;
    std::vector<Entry> m_docs;
    int m_nNextUntitled = 1;
    QString m_journalFolder;
};

}  // namespace zeb

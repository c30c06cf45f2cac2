#include "DocManager.h"

#include <QFileInfo>

#include <algorithm>

#include "CurrentMachine.h"
#include "DocTemplate.h"
#include "FileRunJournal.h"
#include "JournalRecovery.h"
#include "JournalRestore.h"
#include "LabStandard.h"
#include "MessageSeam.h"
#include "RecentFiles.h"
#include "SettingsDoc.h"

namespace zeb {

CDocManager::CDocManager(CurrentMachine& machine, CRecentFileList& recent)
    : m_machine(machine), m_recent(recent), m_journalFolder(DefaultJournalFolder()) {}

// A run journal whose close line a full disk kept out is tried once more as the program ends.
CDocManager::~CDocManager() {
    RetryUnwrittenCloses();
}

CZebM40SettingsDoc* CDocManager::NewDocument() {
    auto doc = std::make_unique<CZebM40SettingsDoc>();
    if (!doc->OnNewDocument(m_machine.m_ulCurrentMachineType, m_machine.m_nCurrentHWVersion)) {
        return nullptr;
    }
    doc->SetStandard(LabDefaultStandard());
    Entry entry{std::move(doc), QStringLiteral("%1%2")
                                    .arg(QLatin1String(CZebM40SettingsDoc::kDefaultTitle))
                                    .arg(m_nNextUntitled++)};
    m_docs.push_back(std::move(entry));
    return m_docs.back().doc.get();
}

CZebM40SettingsDoc* CDocManager::NewDocumentFrom(const CSettingData& record,
                                                 const StandardRef& standard) {
    CZebM40SettingsDoc* doc = NewDocument();
    if (doc) {
        doc->ApplyRecord(record);
        doc->SetStandard(standard);
    }
    return doc;
}

CZebM40SettingsDoc* CDocManager::OpenDocument(const QString& path, bool* activated) {
    if (activated) {
        *activated = false;
    }
    CZebM40SettingsDoc* match = nullptr;
    switch (CMyDocTemplate::MatchDocType(path, Documents(), match)) {
        case CMyDocTemplate::kYesAlreadyOpen:
            if (activated) {
                *activated = true;
            }
            return match;
        case CMyDocTemplate::kNoAttempt:
            // Only settings files are documents of this program; nothing else is read.
            ShowMessage(CZebM40SettingsDoc::LoadMessage(CZebM40SettingsDoc::kLoadNotSettingsFile),
                        MsgButtons::Ok, MsgIcon::Warning);
            return nullptr;
        case CMyDocTemplate::kYesAttemptNative:
            break;
    }
    auto doc = std::make_unique<CZebM40SettingsDoc>();
    if (!doc->OnOpenDocument(path, m_machine.m_ulCurrentMachineType,
                             m_machine.m_nCurrentHWVersion)) {
        return nullptr;
    }
    doc->SetPathName(QFileInfo(path).absoluteFilePath());
    // A file without a standard of its own is checked against the lab's; a damaged standard
    // file was reported, and the document stays without one rather than take another.
    if (!doc->Standard().IsSet() && doc->StandardProblem().isEmpty()) {
        doc->SetStandard(LabDefaultStandard());
    }
    OfferJournalRestore(m_journalFolder, path, *doc);
    m_recent.Add(path);
    m_docs.push_back(Entry{std::move(doc), QString()});
    return m_docs.back().doc.get();
}

CZebM40SettingsDoc* CDocManager::OpenRecent(const QString& path, bool* activated) {
    if (activated) {
        *activated = false;
    }
    if (!QFileInfo::exists(path)) {
        ShowMessage(QStringLiteral("The file could not be found:\n%1\nIt has been removed from "
                                   "the recent file list.")
                        .arg(path),
                    MsgButtons::Ok, MsgIcon::Warning);
        m_recent.Remove(path);
        return nullptr;
    }
    return OpenDocument(path, activated);
}

bool CDocManager::SaveTo(CZebM40SettingsDoc& doc, const QString& path) {
    if (!doc.OnSaveDocument(path)) {
        return false;
    }
    doc.SetPathName(QFileInfo(path).absoluteFilePath());
    doc.SetModifiedFlag(false);
    m_recent.Add(path);
    return true;
}

bool CDocManager::Save(CZebM40SettingsDoc& doc, const AskPath& ask) {
    if (doc.PathName().isEmpty()) {
        return SaveAs(doc, ask);
    }
    return SaveTo(doc, doc.PathName());
}

bool CDocManager::SaveAs(CZebM40SettingsDoc& doc, const AskPath& ask) {
    const QString suggested =
        doc.PathName().isEmpty() ? CMyDocTemplate::WithExtension(Title(doc)) : doc.PathName();
    const QString chosen = ask ? ask(suggested) : QString();
    if (chosen.isEmpty()) {
        return false;
    }
    return SaveTo(doc, CMyDocTemplate::WithExtension(chosen));
}

bool CDocManager::SaveModified(CZebM40SettingsDoc& doc, const AskPath& ask) {
    if (!doc.IsModified()) {
        return true;
    }
    const MsgAnswer answer = ShowMessage(QStringLiteral("Save changes to %1?").arg(Title(doc)),
                                         MsgButtons::YesNoCancel, MsgIcon::Question);
    if (answer == MsgAnswer::Yes) {
        return Save(doc, ask);
    }
    return answer == MsgAnswer::No;
}

void CDocManager::Close(CZebM40SettingsDoc* doc) {
    m_docs.erase(std::remove_if(m_docs.begin(), m_docs.end(),
                                [doc](const Entry& e) { return e.doc.get() == doc; }),
                 m_docs.end());
    // The close line of a run journal that could not be written is tried again.
    RetryUnwrittenCloses();
}

QString CDocManager::Title(const CZebM40SettingsDoc& doc) const {
    if (!doc.PathName().isEmpty()) {
        return QFileInfo(doc.PathName()).fileName();
    }
    for (const Entry& e : m_docs) {
        if (e.doc.get() == &doc) {
            return e.title;
        }
    }
    return QLatin1String(CZebM40SettingsDoc::kDefaultTitle);
}

std::vector<CZebM40SettingsDoc*> CDocManager::Documents() const {
    std::vector<CZebM40SettingsDoc*> docs;
    for (const Entry& e : m_docs) {
        docs.push_back(e.doc.get());
    }
    return docs;
}

}  // namespace zeb

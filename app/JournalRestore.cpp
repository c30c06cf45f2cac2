#include "JournalRestore.h"

#include <QFile>

#include "JournalRecovery.h"
#include "MessageSeam.h"

namespace zeb {

bool OfferJournalRestore(const QString& folder, const QString& path, CZebM40SettingsDoc& doc) {
    QFile file(path);
    if (folder.isEmpty() || !file.open(QIODevice::ReadOnly)) {
        return false;
    }
    const QByteArray bytes = file.readAll();
    std::vector<BrokenJournal> broken;
    std::vector<JournalState> found = FindUnclosedJournals(folder, path, bytes, &broken);
    // A journal that does not verify is never used, but the operator hears of it.
    if (!broken.empty()) {
        QStringList notices;
        for (const BrokenJournal& b : broken) {
            notices << BrokenJournalNotice(b);
        }
        ShowMessage(notices.join(QStringLiteral("\n\n")), MsgButtons::Ok, MsgIcon::Warning);
    }
    for (auto it = found.rbegin(); it != found.rend(); ++it) {
        QString error;
        const MsgAnswer answer =
            ShowMessage(RestoreQuestion(*it), MsgButtons::YesNoCancel, MsgIcon::Question);
        if (answer == MsgAnswer::Yes) {
            if (RestoreFromJournal(*it, bytes, doc, error)) {
                return true;
            }
            ShowMessage(error, MsgButtons::Ok, MsgIcon::Warning);
        } else if (answer == MsgAnswer::No && !CloseAbandoned(it->path, error)) {
            ShowMessage(error, MsgButtons::Ok, MsgIcon::Warning);
        }
        // Cancel leaves the journal as it is: the question comes again at the next opening.
    }
    return false;
}

}  // namespace zeb

#pragma once
// When a settings document is opened, a test run of it that ended unexpectedly (its journal
// was never closed) is offered back: Yes restores every step's result and comment as the
// journal last recorded them, No closes that journal as abandoned, Cancel leaves it for the next
// opening. Journals are never deleted, and one whose document does not hash to the file just opened
// is never applied.

#include <QString>

namespace zeb {

class CZebM40SettingsDoc;

// Tells the operator about journals of the file at path that do not verify, then asks about the
// unclosed journals in folder that recorded this path and match its bytes, newest first, until
// the operator restores one. True when the document's results were restored.
bool OfferJournalRestore(const QString& folder, const QString& path, CZebM40SettingsDoc& doc);

}  // namespace zeb

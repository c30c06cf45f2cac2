#include "JournalReport.h"

#include "TestPropertyJson.h"
#include "TestReport.h"

namespace zeb {

bool TestDataFromJournal(const JournalState& state, CZebM40SettingsDoc& doc,
                         CTestProperty& property, QString& error) {
    CTestProperty recorded;
    if (!TestPropertyFromJson(state.open.value(QLatin1String("environment")).toObject(), recorded,
                              error)) {
        error = QStringLiteral("%1: the recorded test environment cannot be read: %2")
                    .arg(state.path, error);
        return false;
    }
    if (!DocumentFromJournal(state, doc, error)) {
        return false;
    }
    property = recorded;
    return true;
}

bool WriteReportFromJournal(const QString& journalPath, const QString& outPath, QString& error) {
    JournalState state;
    if (!ReadJournalState(journalPath, state, error)) {
        return false;
    }
    CZebM40SettingsDoc doc;
    CTestProperty property;
    return TestDataFromJournal(state, doc, property, error) &&
           WriteTestReport(property, doc, outPath, error);
}

}  // namespace zeb

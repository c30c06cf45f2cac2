#include "TestExecutionCommand.h"

#include "MessageSeam.h"
#include "SettingsDoc.h"
#include "TestProperty.h"

namespace zeb {

const char kNoStepMessage[] = "There is no test step to run.\nChange the test conditions.";

bool RunTestExecution(CZebM40SettingsDoc& doc, CTestProperty& property, qint64 now,
                      const TestExecutionSteps& steps) {
    // The run dialog needs a first step; a condition that expands to nothing (or a file
    // without steps) would otherwise open it on an empty list.
    if (doc.Steps().empty()) {
        ShowMessage(QString::fromLatin1(kNoStepMessage), MsgButtons::Ok, MsgIcon::Warning);
        return false;
    }
    const qint64 previousDate = property.m_tmTestDate;
    property.m_tmTestDate = now;
    if (steps.preChecks && !steps.preChecks()) {
        return false;
    }
    if (steps.testInfo && !steps.testInfo()) {
        property.m_tmTestDate = previousDate;
        return false;
    }
    // A restored run goes on with its first step not ended until the next test has started;
    // every other test begins at step 1.
    doc.SetCurrentStep(doc.Resume().journal.isEmpty() ? 0 : doc.Resume().step);
    if (steps.execute) {
        steps.execute();
    }
    return true;
}

}  // namespace zeb

#pragma once
// The test execution command of the summary view, without its windows: the order in which the
// pre-checks, the test environment dialog and the run dialog follow each other, and what each
// refusal leaves behind. The view hands in the three steps as functions.

#include <QtGlobal>

#include <functional>

namespace zeb {

class CTestProperty;
class CZebM40SettingsDoc;

struct TestExecutionSteps {
    // Checks the record against the instrument (settings, 6 kV limiter, switched line); false
    // when the run must not start.
    std::function<bool()> preChecks;
    // Shows the test environment dialog; true when it was closed with OK.
    std::function<bool()> testInfo;
    // Runs the document's steps in the run dialog until it is closed.
    std::function<void()> execute;
};

// Text shown when a document has no step to run.
extern const char kNoStepMessage[];

// Runs the command for `doc` at the moment `now` (seconds since 1970). The test moment is set
// before the checks; only a cancelled test environment dialog puts the previous one back. A
// document without steps is refused with kNoStepMessage before anything reaches the
// instrument. The run dialog opens on step 1, or on the step a restored run goes on with.
// True when the run dialog was opened.
bool RunTestExecution(CZebM40SettingsDoc& doc, CTestProperty& property, qint64 now,
                      const TestExecutionSteps& steps);

}  // namespace zeb

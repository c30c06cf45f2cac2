#pragma once
// The checks made before a test run is opened: the record must suit the connected instrument,
// every step must pass the step check (what the instrument accepts and the machine offers,
// StepCheck.h), no step may exceed the 6 kV limiter when it is on, the operator hears where the
// plan deviates from its test standard (and may run anyway), and an EUT line that is switched on
// in a configuration other than the record's must go off first (after the operator agrees).
// Shared by the summary view's test execution command and by zebctl run; no window involved.

namespace zeb {

class CZebM40Cntl;
class CZebM40SettingsDoc;
class CSettingData;

// Checks the record against the connected instrument and tells the operator, in order, what
// does not fit. True when the test may go ahead.
bool SettingsFit(CZebM40Cntl& cntl, const CSettingData& record);

// Where the plan has a standard and deviates from it (or cannot be checked), the findings in one
// OK/Cancel message: true for OK, and without asking when there is nothing to say.
bool StandardDeviationsAccepted(const CZebM40SettingsDoc& doc);

// Runs the checks on the document's record and steps; messages and the line-off question go
// through the message seam, and an agreed line-off switches the line off. True when the run may go
// ahead. A query the instrument does not answer skips its check rather than refusing the run.
bool RunPreChecks(CZebM40Cntl& cntl, const CZebM40SettingsDoc& doc);

}  // namespace zeb

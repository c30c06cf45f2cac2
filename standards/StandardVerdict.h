#pragma once
// What a document's standard says of its plan, in the forms every place shows it: the summary's
// "Standard" row and its list, the message before a run, the journal's open event and the
// report (as one JSON object), and zebctl check's lines.

#include <QJsonObject>
#include <QString>

#include <vector>

#include "PlanCheck.h"
#include "ProfileLibrary.h"
#include "SettingsDoc.h"

namespace zeb {

struct StandardVerdict {
    StandardRef ref;                           // the document's; unset: no standard
    const StandardProfile* profile = nullptr;  // nullptr when that profile is not installed
    QString problem;                           // why the plan could not be checked
    std::vector<Finding> findings;

    bool HasStandard() const { return ref.IsSet(); }
    // A standard whose profile is installed and whose level it knows.
    bool Checked() const { return profile != nullptr && problem.isEmpty(); }
};

// Checks the document's plan (its record and its steps as they are) against its standard.
StandardVerdict EvaluateStandard(const CZebM40SettingsDoc& doc, const ProfileSet& profiles);
// The same for a reference given apart from any document (zebctl check --standard).
StandardVerdict EvaluateStandard(const CSettingData& record, const ExecDataList& steps,
                                 const StandardRef& ref, const ProfileSet& profiles);

// "level 2", "level X (3 kV)".
QString LevelText(const StandardRef& ref);
// "<profile title>, level 2"; the id stands in for the title of a missing profile.
QString StandardText(const StandardVerdict& verdict);
// "Meets <profile title>, level 2" for a checked plan without findings, else empty.
QString MeetsText(const StandardVerdict& verdict);
// "warning (pulses): 8 of 16 combinations ... Steps 1-4, 7." for a list.
QString FindingListText(const Finding& finding);

// The journal's record of the standard: {"profile", "title", "level", "voltage", "findings":
// [{"rule", "severity", "citation", "text", "steps": [1, 4]}]}; an empty object when the plan
// was not checked (no standard, or a profile that is not installed).
QJsonObject StandardJson(const StandardVerdict& verdict);

// zebctl's form: "finding rule=pulses severity=warning steps=1,4,7 text=...".
QString FindingLine(const Finding& finding);

// The question before a run: the findings in one text, to answer with OK (run anyway) or
// Cancel. Empty when there is nothing to ask: no standard, or a checked plan with no findings.
QString PreRunQuestion(const StandardVerdict& verdict);

}  // namespace zeb

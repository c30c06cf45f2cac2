#pragma once
// Plans made from a standard: a profile, a level, a port and line configuration of a machine
// and the path kinds wanted give an ordinary test condition record that asks the instrument
// for what the profile's rules ask, within what the machine offers (Capabilities.h):
//  - a voltage list of every level up to the chosen one (for level X the levels below its
//    voltage and the voltage itself), marked NORMAL and COMMON where the line-to-line and
//    line-to-earth voltages differ;
//  - both polarities, the required pulses per step, the longest interval the rules allow;
//  - on the AC port, synchronised at the required angles; coupling "STANDARD";
//  - every required path: each line-to-line pair of the configuration once and each of its
//    lines to earth (AC and DC), every line of the configuration (telecom, surge output).
// Where the machine cannot do what the profile asks, the plan does what it can and the
// shortfall is named; the check of the plan then lists it.

#include <QString>
#include <QStringList>

#include <cstdint>

#include "PlanCheck.h"
#include "SettingData.h"
#include "StandardProfile.h"
#include "StandardRef.h"

namespace zeb {

struct PlanRequest {
    StandardRef standard;  // profile id, level, voltage of level X
    uint32_t machineType = kNoMachineType;
    int32_t hwVersion = 0;
    int32_t port = kPortAc;
    int32_t configuration = 0;  // line configuration code of the port
    bool lineToLine = true;     // the path kinds wanted (AC and DC ports)
    bool lineToEarth = true;
    uint32_t lines = 0;  // the paths to test; 0: RequiredPaths
};

struct PlanResult {
    CSettingData record;
    // What the machine cannot do of what the profile asks, each under the rule it leaves
    // unmet (its citation and severity; no steps).
    std::vector<Finding> shortfalls;
};

// The paths the rules ask for on this configuration of the machine, of the kinds wanted.
uint32_t RequiredPaths(const StandardProfile& profile, uint32_t machineType, int32_t hwVersion,
                       int32_t port, int32_t configuration, bool lineToLine, bool lineToEarth);

// Makes the plan. Refused with a text: a profile other than the request's, a level it does not
// have (or level X without a voltage), a port or line configuration the machine does not
// offer, no path to test, a level voltage above the machine's maximum for the port, or a plan
// of more steps than a record may make.
bool GeneratePlan(const StandardProfile& profile, const PlanRequest& request, PlanResult& result,
                  QString& error);

}  // namespace zeb

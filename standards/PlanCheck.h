#pragma once
// The check of a plan against a standard profile at a test level. It works on the expanded
// steps, so it sees exactly what the instrument will run, and it explains each gap with the
// rule it breaks. It warns and never blocks: a product standard may ask for less.
//
// A path is an injection-return line. Its kind is line-to-line (the record's NORMAL group) or
// line-to-earth (the COMMON group) as the instrument rules group the lines; a combined path
// ("L+N - PE") counts as its kind but never as a single line tested to earth. Each rule
// reports its own gap only, so one defect gives one finding: a missing polarity is found by
// `polarities` alone, a missing angle by `angles` alone.

#include <QString>

#include <cstdint>
#include <vector>

#include "SettingData.h"
#include "StandardProfile.h"

namespace zeb {

struct Finding {
    QString rule;  // rule::k...
    Severity severity = Severity::Warning;
    QString citation;
    QString text;            // one sentence for the operator
    std::vector<int> steps;  // step numbers from 1; empty for a rule about the plan as a whole
};

enum class PathKind { LineToLine, LineToEarth };

// Line-to-earth on the AC and DC ports for the COMMON lines; every other line, and every line
// of the telecom and surge ports (which do not tell the kinds apart), is line-to-line.
PathKind KindOfLine(int32_t port, int32_t line);
// The AC and DC ports group their lines into the two kinds.
bool PortHasPathKinds(int32_t port);
// Lines of a line configuration that run from one line to earth, one per line of the
// configuration (L - PE and N - PE for "SINGLE PHASE L , N , PE"); 0 where it has no PE.
uint32_t EarthPathsOf(int32_t port, int32_t detail);

// The voltages a level asks for: the level's own and those of every level listed before it,
// for line-to-line and line-to-earth paths; for level X only the given voltage. False when
// the profile has no such level or level X has no voltage above 0.
struct LevelVoltages {
    std::vector<int32_t> lineToLine;
    std::vector<int32_t> lineToEarth;
};
bool RequiredVoltages(const StandardProfile& profile, const QString& level, int32_t xVoltage,
                      LevelVoltages& out);

// The findings of the plan, in the order of the profile's rules. The rules that apply on the
// record's output port are checked (on the telecom port and the surge output only polarities,
// pulses, interval and levels). An unknown level is a `levels` finding.
std::vector<Finding> CheckPlan(const CSettingData& record, const ExecDataList& steps,
                               const StandardProfile& profile, const QString& level,
                               int32_t xVoltage = 0);

// "0.5 kV", "1 kV", "1.25 kV".
QString KiloVolts(int32_t volts);

}  // namespace zeb

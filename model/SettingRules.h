#pragma once
// Decisions of the test condition editor, without any widget: the output ports a machine
// offers, which output page shows a port, the list kind of the voltage set, the minimum
// interval of a waveform, the interval notes and the checks made before the editor closes.

#include <QString>
#include <QStringList>

#include <cstdint>

#include "EditorChoices.h"
#include "SettingData.h"

namespace zeb {

// Output ports the machine offers, in combo order; empty for machine type "none".
ChoiceList PortChoices(uint32_t machineType);

// The six output pages; a port shows one of them.
enum class OutputPage { None, Ac, Dc, Surge, Telecom, TelecomUnit, TelecomEd3 };
OutputPage PageForPort(int32_t port, uint32_t machineType);

// List kind of the voltage set when a port is selected: 1 (NORMAL and COMMON flags) where the
// line configuration has both line-to-line and line-to-earth lines, 0 where it has one kind;
// `current` where the rule says nothing.
int32_t VariableKindForPort(int32_t port, int32_t detail, int32_t current);
// The same when an output page changes its line configuration (the telecom pages leave it).
int32_t VariableKindForDetail(int32_t port, int32_t detail, int32_t current);

// Shortest interval between discharges the generator allows for a waveform, in seconds;
// `current` for an unknown waveform. RING recharges faster through a coupling unit.
int32_t MinimumInterval(int32_t waveform, uint32_t machineType, int32_t current);
// Sets m_vlRept.m_lMin from the waveform and raises m_lRept to it. True when m_lRept changed.
bool ApplyMinimumInterval(CSettingData& record, int32_t waveform);

// The two note lines beside the interval field.
QStringList IntervalNotes(uint32_t machineType);
// The note line on the telecom limit of edition-3 machines.
QString Edition3Note();

// Outcome of the checks made when the operator presses OK: the messages to show, in order,
// and whether the editor may close.
struct OkCheckResult {
    QStringList messages;
    bool accept = false;
};
OkCheckResult CheckForOk(const CSettingData& record);

}  // namespace zeb

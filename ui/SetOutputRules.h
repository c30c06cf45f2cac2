#pragma once
// Decisions of the output pages, without any widget: the waveform, line configuration and
// coupling lists a machine offers, whether a waveform is a choice or a fixed text, which line
// boxes a line configuration enables and how the AC line boxes are labelled.

#include <QString>

#include <cstdint>

#include "Capabilities.h"
#include "EditorChoices.h"

namespace zeb {

// Waveform lists of the pages.
ChoiceList AcWaveforms(uint32_t machineType);
ChoiceList DcWaveforms(uint32_t machineType);
ChoiceList SurgeWaveforms(uint32_t machineType);
ChoiceList TelecomWaveforms();
ChoiceList TelecomUnitWaveforms(uint32_t machineType);
// True when the AC and DC pages offer the waveform as a choice, false when they show the
// fixed text "1.2 / 50" instead.
bool LineWaveformIsChoice(uint32_t machineType);
// The same for the SURGE OUTPUT page.
bool SurgeWaveformIsChoice(uint32_t machineType);

// AC line configurations. Three-phase machines offer configuration 6 only on newer hardware:
// the record's own version decides, else the instrument's, which is then taken into the record
// through `recordHWVersion`.
ChoiceList AcDetails(uint32_t machineType, int32_t& recordHWVersion, int32_t instrumentHWVersion);
ChoiceList DcDetails();
ChoiceList TelecomDetails();

ChoiceList LineCouplings();  // AC and DC
ChoiceList TelecomResistors();
ChoiceList TelecomUnitResistors();
ChoiceList RingImpedances();

// Label of an AC line box; the single-phase configurations 0 and 1 rename four of them.
QString AcLineLabel(int bit, int32_t detail);
QString DcLineLabel(int bit);
QString TelecomLineLabel(int bit);

constexpr int kAcLineBoxes = 20;
constexpr int kDcLineBoxes = 4;
constexpr int kTelecomLineBoxes = 5;
// The AC boxes of combined lines (several lines against one) come after the single pairs.
constexpr int kAcFirstCombinedLine = 16;

}  // namespace zeb

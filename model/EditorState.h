#pragma once
// The test condition editor without its windows: the state it works on, the intents its
// controls send, and Apply, which runs the editor's rules with every chain effect in the order
// the windows produced them. What each page shows is the projection of the state
// (EditorView.h). A standard-plan generator or a test drives the same rules with the same
// intents and gets the record the editor would make.
//
// Usage:
//   EditorState s = OpenEditor(record, instrumentHWVersion);
//   Apply(s, intent::SelectPort(kPortDc));
//   Apply(s, intent::ToggleLine(kDcLinePlusPE, true));
//   if (CheckForOk(s.record).accept) { use(s.record); }

#include <QString>

#include <cstdint>

#include "Capabilities.h"
#include "SettingData.h"
#include "SettingRules.h"
#include "ValueRules.h"

namespace zeb {

// The editor's working record and what is derived from it. The record's limit descriptors are
// the editor's one copy of the current limits: m_vlVolt.m_lMax follows the selected port,
// m_vlRept.m_lMin the selected waveform.
struct EditorState {
    CSettingData record;
    int32_t instrumentHWVersion = 0;  // the connected instrument's, 0 when none
    // What the record's machine type offers, for the record's hardware version.
    MachineCapabilities caps;
    // False while the port list offers nothing (machine type "none"): no page is shown.
    bool portSelected = false;
};

// The two value panels of the editor.
enum class ValuePanel { Voltage, Angle };
// The numeric fields: the count and interval of the editor, and a value panel's fields.
enum class Field { Count, Interval, Fixed, SweepStart, SweepEnd, SweepStep, ListValue };

enum class IntentKind {
    SelectPort,
    PageShown,  // the page of the selected port is shown: it stores what its lists show
    SelectWaveform,
    SelectRingImpedance,
    SelectLineConfiguration,
    SelectCoupling,
    ToggleLine,
    SetSync,
    SelectPolarity,  // code: radio 0 "+", 1 "-", 2 "+/-"
    SelectValueType,
    CommitField,
    SpinField,
    ToggleUse,  // common: the COMMON flag of the row, else its use (NORMAL) flag
};

// One thing a control asks for. Which members count depends on the kind.
struct Intent {
    IntentKind kind = IntentKind::PageShown;
    int32_t code = 0;  // port, waveform, impedance, configuration, coupling, line, type, radio
    bool on = false;   // toggles and sync; for a spin: up
    ValuePanel panel = ValuePanel::Voltage;
    Field field = Field::Count;
    int row = 0;  // list row of a ListValue field or a use flag
    bool common = false;
    QString text;  // the field's text when committed or spun
};

namespace intent {
Intent SelectPort(int32_t port);
Intent PageShown();
Intent SelectWaveform(int32_t code);
Intent SelectRingImpedance(int32_t code);
Intent SelectLineConfiguration(int32_t code);
Intent SelectCoupling(int32_t code);
Intent ToggleLine(int32_t bit, bool on);
Intent SetSync(bool on);
Intent SelectPolarity(int32_t radio);
Intent SelectValueType(ValuePanel panel, int32_t type);
Intent CommitField(Field field, const QString& text, ValuePanel panel = ValuePanel::Voltage,
                   int row = 0);
Intent SpinField(Field field, const QString& text, bool up, ValuePanel panel = ValuePanel::Voltage,
                 int row = 0);
Intent ToggleUse(ValuePanel panel, int row, bool common, bool on);
}  // namespace intent

// The state when the editor opens on `record`: the record takes the instrument's hardware
// version where its own is unknown and a three-phase generator offers more with it, the AC
// synchronisation becomes yes or no, the interval minimum follows the current port's waveform,
// and the record's port (or the first one offered) is selected.
EditorState OpenEditor(const CSettingData& record, int32_t instrumentHWVersion);

// Runs one intent with its chain effects. An intent naming a code the current lists do not
// offer, a field outside its panel or a page that is not shown changes nothing.
void Apply(EditorState& state, const Intent& intent);

// The selected port's slot (the AC slot while no port is selected).
OUTPUT_PORT& SelectedSlot(EditorState& state);
const OUTPUT_PORT& SelectedSlot(const EditorState& state);
// The value set and limits of a panel.
const VALUE& PanelValues(const EditorState& state, ValuePanel panel);
const VALUE_LIMIT& PanelLimits(const EditorState& state, ValuePanel panel);

}  // namespace zeb

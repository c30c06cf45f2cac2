#include "EditorState.h"

namespace zeb {

namespace {

// Polarity radios and the bit sets they stand for: positive, negative, both.
constexpr uint32_t kPolarityBits[3] = {1, 2, 3};

int32_t WaveformOfPort(const CSettingData& record, int32_t port) {
    if (port < 0 || port >= kSlotCount) {
        return -1;  // leaves the minimum as it is
    }
    return record.m_outOutput.m_aopOutputPort[port].m_nWaveform;
}

bool Lists(const ChoiceList& list, int32_t code) {
    for (const Choice& c : list) {
        if (c.code == code) {
            return true;
        }
    }
    return false;
}

// What a combo shows for a stored code: the code when it lists it, else its first item.
void Normalise(int32_t& code, const ChoiceList& list) {
    if (!list.empty() && !Lists(list, code)) {
        code = list.front().code;
    }
}

ChoiceList ConfigurationChoices(const PortCapabilities& port) {
    ChoiceList list;
    for (const LineConfiguration& lc : port.lineConfigurations) {
        list.push_back({lc.text, lc.code});
    }
    return list;
}

// The shown page's port, when a page is shown.
const PortCapabilities* ShownPort(const EditorState& s) {
    return s.portSelected ? s.caps.Port(s.record.m_outOutput.m_nOutputPort) : nullptr;
}

void StoreWaveform(EditorState& s, int32_t code) {
    SelectedSlot(s).m_nWaveform = code;
    ApplyMinimumInterval(s.record, code);
}

void StoreConfiguration(EditorState& s, int32_t code) {
    SelectedSlot(s).m_nOutputDetail = code;
    const int32_t port = s.record.m_outOutput.m_nOutputPort;
    if (port == kPortAc || port == kPortDc) {
        int32_t& kind = s.record.m_valVolt.m_nVariableKind;
        kind = VariableKindForDetail(port, code, kind);
    }
}

// A page being shown stores what its lists show, so the record follows the page: a code the
// list lacks becomes the list's first item, with the chain effects of choosing it.
void PageShown(EditorState& s) {
    const PortCapabilities* port = ShownPort(s);
    if (!port) {
        return;
    }
    OUTPUT_PORT& slot = SelectedSlot(s);
    if (!port->waveforms.empty()) {
        int32_t wave = slot.m_nWaveform;
        Normalise(wave, port->waveforms);
        StoreWaveform(s, wave);
    }
    if (!port->lineConfigurations.empty()) {
        int32_t detail = slot.m_nOutputDetail;
        Normalise(detail, ConfigurationChoices(*port));
        StoreConfiguration(s, detail);
    }
    Normalise(slot.m_nCoup, port->couplings);
    Normalise(slot.m_nRingRegi, port->ringImpedances);
}

void SelectPort(EditorState& s, int32_t code) {
    const PortCapabilities* port = s.caps.Port(code);
    if (!port || s.record.m_ulMachineType == kNoMachineType) {
        return;
    }
    CSettingData& r = s.record;
    r.m_outOutput.m_nOutputPort = code;
    s.portSelected = true;
    PageShown(s);
    VALUE& volt = r.m_valVolt;
    volt.m_nVariableKind =
        VariableKindForPort(code, SelectedSlot(s).m_nOutputDetail, volt.m_nVariableKind);
    r.m_vlVolt.m_lMax = port->voltageMax;
    ApplyMinimumInterval(r, WaveformOfPort(r, code));
}

VALUE& PanelSet(EditorState& s, ValuePanel panel) {
    return const_cast<VALUE&>(PanelValues(s, panel));
}

// The angle panel belongs to the AC page; its inputs work only with SYNC.
bool PanelOpen(const EditorState& s, ValuePanel panel, bool inputs) {
    if (panel == ValuePanel::Voltage) {
        return true;
    }
    const PortCapabilities* port = ShownPort(s);
    return port && port->phaseSync && (!inputs || SelectedSlot(s).m_nSync == 1);
}

void EditField(EditorState& s, const Intent& in, bool spin) {
    CSettingData& r = s.record;
    const QString& t = in.text;
    const bool up = in.on;
    auto bounded = [&](int32_t& value, const VALUE_LIMIT& l) {
        value = spin ? BoundedAfterSpin(t, up, l.m_lMin, l.m_lMax, l)
                     : BoundedAfterEdit(t, l.m_lMin, l.m_lMax, l);
    };
    auto sweep = [&](SweepField which) {
        VALUE& set = PanelSet(s, in.panel);
        const VALUE_LIMIT& l = PanelLimits(s, in.panel);
        spin ? SweepAfterSpin(set, which, t, up, l) : SweepAfterEdit(set, which, t, l);
    };
    if (in.field == Field::Count) {
        bounded(r.m_lDisc, r.m_vlDisc);
        return;
    }
    if (in.field == Field::Interval) {
        bounded(r.m_lRept, r.m_vlRept);
        return;
    }
    if (!PanelOpen(s, in.panel, true)) {
        return;
    }
    VALUE& set = PanelSet(s, in.panel);
    switch (in.field) {
        case Field::Fixed:
            bounded(set.m_lValue, PanelLimits(s, in.panel));
            break;
        case Field::SweepStart:
            sweep(SweepField::Start);
            break;
        case Field::SweepEnd:
            sweep(SweepField::End);
            break;
        case Field::SweepStep:
            sweep(SweepField::Step);
            break;
        case Field::ListValue:
            if (in.row >= 0 && in.row < kValueRows) {
                bounded(set.m_alValue[in.row], PanelLimits(s, in.panel));
            }
            break;
        default:
            break;
    }
}

}  // namespace

namespace intent {
Intent Make(IntentKind kind, int32_t code = 0, bool on = false) {
    Intent i;
    i.kind = kind;
    i.code = code;
    i.on = on;
    return i;
}
Intent SelectPort(int32_t port) {
    return Make(IntentKind::SelectPort, port);
}
Intent PageShown() {
    return Make(IntentKind::PageShown);
}
Intent SelectWaveform(int32_t code) {
    return Make(IntentKind::SelectWaveform, code);
}
Intent SelectRingImpedance(int32_t code) {
    return Make(IntentKind::SelectRingImpedance, code);
}
Intent SelectLineConfiguration(int32_t code) {
    return Make(IntentKind::SelectLineConfiguration, code);
}
Intent SelectCoupling(int32_t code) {
    return Make(IntentKind::SelectCoupling, code);
}
Intent ToggleLine(int32_t bit, bool on) {
    return Make(IntentKind::ToggleLine, bit, on);
}
Intent SetSync(bool on) {
    return Make(IntentKind::SetSync, 0, on);
}
Intent SelectPolarity(int32_t radio) {
    return Make(IntentKind::SelectPolarity, radio);
}
Intent SelectValueType(ValuePanel panel, int32_t type) {
    Intent i = Make(IntentKind::SelectValueType, type);
    i.panel = panel;
    return i;
}
Intent CommitField(Field field, const QString& text, ValuePanel panel, int row) {
    Intent i = Make(IntentKind::CommitField);
    i.field = field;
    i.text = text;
    i.panel = panel;
    i.row = row;
    return i;
}
Intent SpinField(Field field, const QString& text, bool up, ValuePanel panel, int row) {
    Intent i = CommitField(field, text, panel, row);
    i.kind = IntentKind::SpinField;
    i.on = up;
    return i;
}
Intent ToggleUse(ValuePanel panel, int row, bool common, bool on) {
    Intent i = Make(IntentKind::ToggleUse, 0, on);
    i.panel = panel;
    i.row = row;
    i.common = common;
    return i;
}
}  // namespace intent

OUTPUT_PORT& SelectedSlot(EditorState& state) {
    return const_cast<OUTPUT_PORT&>(SelectedSlot(static_cast<const EditorState&>(state)));
}

const OUTPUT_PORT& SelectedSlot(const EditorState& state) {
    const int32_t port = state.record.m_outOutput.m_nOutputPort;
    const bool inRange = state.portSelected && port >= 0 && port < kSlotCount;
    return state.record.m_outOutput.m_aopOutputPort[inRange ? port : kPortAc];
}

const VALUE& PanelValues(const EditorState& state, ValuePanel panel) {
    return panel == ValuePanel::Voltage
               ? state.record.m_valVolt
               : state.record.m_outOutput.m_aopOutputPort[kPortAc].m_valAngle;
}

const VALUE_LIMIT& PanelLimits(const EditorState& state, ValuePanel panel) {
    return panel == ValuePanel::Voltage ? state.record.m_vlVolt : state.record.m_vlAngle;
}

EditorState OpenEditor(const CSettingData& record, int32_t instrumentHWVersion) {
    EditorState s;
    s.record = record;
    s.instrumentHWVersion = instrumentHWVersion;
    CSettingData& r = s.record;
    const uint32_t type = r.m_ulMachineType;
    // A three-phase generator offers "THREE  PHASE L1, L2, L3, PE" from hardware version 1 on:
    // the record's own version decides, else the connected instrument's, which it then keeps.
    if (type != kNoMachineType && !HasCouplingUnit(type) && (type & kThreePhaseBit) &&
        r.m_nHWVersion == 0 && instrumentHWVersion != 0) {
        r.m_nHWVersion = instrumentHWVersion;
    }
    s.caps = CapabilitiesOf(type, r.m_nHWVersion);
    // Synchronisation is a yes/no choice; anything else a file held counts as yes.
    int32_t& sync = r.m_outOutput.m_aopOutputPort[kPortAc].m_nSync;
    sync = sync != 0 ? 1 : 0;
    const int32_t port = r.m_outOutput.m_nOutputPort;
    r.m_vlRept.m_lMin = MinimumInterval(WaveformOfPort(r, port), type, r.m_vlRept.m_lMin);
    const ChoiceList ports = PortChoices(type);
    if (ports.empty()) {
        ApplyMinimumInterval(r, WaveformOfPort(r, port));
    } else {
        SelectPort(s, ports[size_t(IndexOfCode(ports, port))].code);
    }
    return s;
}

void Apply(EditorState& s, const Intent& in) {
    const PortCapabilities* port = ShownPort(s);
    OUTPUT_PORT& slot = SelectedSlot(s);
    switch (in.kind) {
        case IntentKind::SelectPort:
            SelectPort(s, in.code);
            return;
        case IntentKind::PageShown:
            PageShown(s);
            return;
        case IntentKind::SelectWaveform:
            if (port && port->waveformIsChoice && port->OffersWaveform(in.code)) {
                StoreWaveform(s, in.code);
            }
            return;
        case IntentKind::SelectRingImpedance:
            if (port && slot.m_nWaveform == kWaveRing && port->OffersRingImpedance(in.code)) {
                slot.m_nRingRegi = in.code;
            }
            return;
        case IntentKind::SelectLineConfiguration:
            if (port && port->lineConfigurationIsChoice && port->Configuration(in.code)) {
                StoreConfiguration(s, in.code);
            }
            return;
        case IntentKind::SelectCoupling:
            if (port && port->OffersCoupling(in.code)) {
                slot.m_nCoup = in.code;
            }
            return;
        case IntentKind::ToggleLine: {
            const int32_t detail = slot.m_nOutputDetail;
            if (!port || !port->lineBoxes || in.code < 0 || in.code > 31 ||
                !(port->LinesOf(detail) & LineBit(in.code)) || detail < 0 || detail >= kSlotCount) {
                return;
            }
            uint32_t& mask = slot.m_aulInjRetBit[detail];
            mask = in.on ? (mask | LineBit(in.code)) : (mask & ~LineBit(in.code));
            return;
        }
        case IntentKind::SetSync:
            if (port && port->phaseSync) {
                slot.m_nSync = in.on ? 1 : 0;
            }
            return;
        case IntentKind::SelectPolarity:
            if (in.code >= 0 && in.code < 3) {
                s.record.m_ulPola = kPolarityBits[in.code];
            }
            return;
        case IntentKind::SelectValueType:
            if (PanelOpen(s, in.panel, false) && in.code >= kValueFixed &&
                in.code <= kValueVariable) {
                PanelSet(s, in.panel).m_nValueType = in.code;
            }
            return;
        case IntentKind::CommitField:
        case IntentKind::SpinField:
            EditField(s, in, in.kind == IntentKind::SpinField);
            return;
        case IntentKind::ToggleUse:
            if (PanelOpen(s, in.panel, true) && in.row >= 0 && in.row < kValueRows) {
                VALUE& set = PanelSet(s, in.panel);
                (in.common ? set.m_abUse2 : set.m_abUse)[in.row] = in.on ? 1 : 0;
            }
            return;
    }
}

}  // namespace zeb

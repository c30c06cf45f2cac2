#include "EditorView.h"

#include "NameTables.h"

namespace zeb {

namespace {

constexpr uint32_t kPolarityBits[3] = {1, 2, 3};

ComboView Combo(const ChoiceList& items, int32_t code, bool visible = true) {
    ComboView c;
    c.items = items;
    c.current = IndexOfCode(items, code);
    c.visible = visible;
    return c;
}

ValuePanelView PanelView(const EditorState& s, ValuePanel panel, bool inputsEnabled) {
    const VALUE& set = PanelValues(s, panel);
    const VALUE_LIMIT& limit = PanelLimits(s, panel);
    ValuePanelView v;
    const bool known = set.m_nValueType >= kValueFixed && set.m_nValueType <= kValueVariable;
    v.tab = known ? set.m_nValueType : -1;
    v.page = known ? PageFor(set.m_nValueType, set.m_nVariableKind) : ValuePage::None;
    v.unit = limit.m_strUnit;
    v.inputsEnabled = inputsEnabled;
    auto field = [&](int32_t value) { return FieldView{FormatFixed(value, limit), inputsEnabled}; };
    v.fixed = field(set.m_lValue);
    v.sweep = {field(set.m_lStart), field(set.m_lEnd), field(set.m_lStep)};
    for (int i = 0; i < kValueRows; ++i) {
        v.list[i] = field(set.m_alValue[i]);
        v.use[i] = set.m_abUse[i] != 0;
        v.common[i] = set.m_abUse2[i] != 0;
    }
    return v;
}

int32_t PortOfPage(OutputPage page) {
    switch (page) {
        case OutputPage::Ac:
            return kPortAc;
        case OutputPage::Dc:
            return kPortDc;
        case OutputPage::Surge:
            return kPortSurge;
        default:
            return kPortTelecom;
    }
}

// Number of line boxes a page has.
int LineBoxes(OutputPage page) {
    switch (page) {
        case OutputPage::Ac:
            return kAcLineCount;
        case OutputPage::Dc:
            return kDcLineCount;
        case OutputPage::Telecom:
            return kTelecomLineCount;
        default:
            return 0;
    }
}

QString LineLabel(OutputPage page, int bit, int32_t detail) {
    switch (page) {
        case OutputPage::Ac:
            return AcLineLabel(bit, detail);
        case OutputPage::Dc:
            return DcLineLabel(bit);
        default:
            return TelecomLineLabel(bit);
    }
}

OutputPageView PageView(const EditorState& s, OutputPage page) {
    const int32_t portCode = PortOfPage(page);
    const OUTPUT_PORT& slot = s.record.m_outOutput.m_aopOutputPort[portCode];
    const PortCapabilities* found = s.caps.Port(portCode);
    const PortCapabilities port = found ? *found : PortCapabilities{};
    OutputPageView v;
    v.waveform = Combo(port.waveforms, slot.m_nWaveform, port.waveformIsChoice);
    v.waveformText = !port.waveformIsChoice;
    v.ring = Combo(port.ringImpedances, slot.m_nRingRegi, slot.m_nWaveform == kWaveRing);
    ChoiceList details;
    for (const LineConfiguration& lc : port.lineConfigurations) {
        details.push_back({lc.text, lc.code});
    }
    v.detail = Combo(details, slot.m_nOutputDetail);
    v.detailText = names::kSurgeDetail.Lookup(kSurgeHotCom);
    v.coupling = Combo(port.couplings, slot.m_nCoup);
    const int32_t detail = slot.m_nOutputDetail;
    const uint32_t enabled = port.LinesOf(detail);
    const uint32_t mask = (detail >= 0 && detail < kSlotCount) ? slot.m_aulInjRetBit[detail] : 0u;
    for (int bit = 0; bit < LineBoxes(page); ++bit) {
        BoxView box;
        box.text = LineLabel(page, bit, detail);
        box.enabled = (enabled & LineBit(bit)) != 0;
        box.checked = (mask & LineBit(bit)) != 0;
        // The combined-line boxes only exist on coupling units that can switch them.
        box.visible = page != OutputPage::Ac || bit < kAcLNPE || box.enabled;
        v.lines.push_back(box);
    }
    v.sync = slot.m_nSync == 1;
    if (page == OutputPage::Ac) {
        v.angle = PanelView(s, ValuePanel::Angle, v.sync);
    }
    return v;
}

}  // namespace

int32_t ComboView::CurrentCode(int32_t fallback) const {
    return current >= 0 && current < int(items.size()) ? items[size_t(current)].code : fallback;
}

EditorView Project(const EditorState& s) {
    const CSettingData& r = s.record;
    const uint32_t type = r.m_ulMachineType;
    EditorView v;
    for (int i = 0; i < 3; ++i) {
        if (r.m_ulPola == kPolarityBits[i]) {
            v.polarity = i;
        }
    }
    v.count = {FormatFixed(r.m_lDisc, r.m_vlDisc), true};
    v.interval = {FormatFixed(r.m_lRept, r.m_vlRept), true};
    v.intervalNotes = IntervalNotes(type);
    v.edition3Note = Edition3Note();
    v.voltage = PanelView(s, ValuePanel::Voltage, true);
    v.port = Combo(PortChoices(type), r.m_outOutput.m_nOutputPort);
    if (!s.portSelected) {
        v.port.current = -1;
    }
    v.page = s.portSelected ? PageForPort(r.m_outOutput.m_nOutputPort, type) : OutputPage::None;
    for (int p = int(OutputPage::Ac); p < kOutputPageCount; ++p) {
        v.pages[size_t(p)] = PageView(s, OutputPage(p));
    }
    v.ok = CheckForOk(r);
    return v;
}

QString AcLineLabel(int bit, int32_t detail) {
    static const char* const kThreePhase[kAcLineCount] = {
        "L1 - L2", "L1 - L3",  "L1 - N",       "L2 - L1",       "L2 - L3",
        "L2 - N",  "L3 - L1",  "L3 - L2",      "L3 - N",        "N  - L1",
        "N  - L2", "N  - L3",  "L1 - PE",      "L2 - PE",       "L3 - PE",
        "N  - PE", "L+N - PE", "L1+L2+L3 - N", "L1+L2+L3 - PE", "L1+L2+L3+N - PE",
    };
    if (bit < 0 || bit >= kAcLineCount) {
        return QString();
    }
    if (UsesSinglePhaseLineNames(detail)) {
        switch (bit) {
            case kAcLN:
                return QStringLiteral("L  - N ");
            case kAcNL:
                return QStringLiteral("N  - L ");
            case kAcLPE:
                return QStringLiteral("L  - PE");
            case kAcNPEsingle:
                return QStringLiteral("N  - PE");
            default:
                break;
        }
    }
    return QString::fromLatin1(kThreePhase[bit]);
}

QString DcLineLabel(int bit) {
    static const char* const kLabels[kDcLineCount] = {"+ - -", "- - +", "+ - PE", "- - PE"};
    return (bit >= 0 && bit < kDcLineCount) ? QString::fromLatin1(kLabels[bit]) : QString();
}

QString TelecomLineLabel(int bit) {
    static const char* const kLabels[kTelecomLineCount] = {"RET 1", "RET 2", "RET 3", "RET 4",
                                                           "RET PE"};
    return (bit >= 0 && bit < kTelecomLineCount) ? QString::fromLatin1(kLabels[bit]) : QString();
}

}  // namespace zeb

// The editor's rules without a window: intents applied to the state, and what the pages would
// show. Every chain effect between fields is here: a port sets the voltage limit and list kind,
// a line configuration the list kind and the line boxes, a waveform the interval minimum.

#include <gtest/gtest.h>

#include "EditorView.h"

namespace zeb {
namespace {

CSettingData Record(uint32_t machineType, int32_t port = kPortAc) {
    CSettingData r;
    r.m_ulMachineType = machineType;
    r.SetDefault();
    r.m_outOutput.m_nOutputPort = port;
    return r;
}

const OutputPageView& PageOf(const EditorView& v, OutputPage page) {
    return v.pages[size_t(page)];
}

QStringList Texts(const ComboView& combo) {
    QStringList texts;
    for (const Choice& c : combo.items) {
        texts << c.text;
    }
    return texts;
}

TEST(EditorState, OpeningPicksThePortAndItsLimits) {
    // Without a machine type no port is offered; only the interval still meets its minimum.
    CSettingData none = Record(kNoMachineType);
    none.m_lRept = 5;
    EditorState s = OpenEditor(none, 0);
    EditorView v = Project(s);
    EXPECT_TRUE(v.port.items.empty());
    EXPECT_EQ(v.page, OutputPage::None);
    EXPECT_EQ(s.record.m_lRept, 10);
    EXPECT_EQ(v.interval.text, "10");

    // A port the machine does not offer falls back to the first one.
    s = OpenEditor(Record(0x400B, kPortSurge), 0);
    EXPECT_EQ(s.record.m_outOutput.m_nOutputPort, kPortAc);
    Apply(s, intent::SelectPort(kPortTelecom));
    v = Project(s);
    EXPECT_EQ(v.page, OutputPage::TelecomUnit);
    EXPECT_EQ(Texts(PageOf(v, OutputPage::TelecomUnit).waveform), QStringList{"10/700"});
    Apply(s, intent::SelectPort(kPortSurge));  // not in the list: nothing happens
    EXPECT_EQ(s.record.m_outOutput.m_nOutputPort, kPortTelecom);

    // A synchronisation code other than 0 counts as SYNC and is stored as 1.
    CSettingData sync = Record(5);
    sync.m_outOutput.m_aopOutputPort[kPortAc].m_nSync = 2;
    EXPECT_EQ(OpenEditor(sync, 0).record.m_outOutput.m_aopOutputPort[kPortAc].m_nSync, 1);
}

TEST(EditorState, Edition3TelecomNarrowsTheVoltageUntilTheFieldIsLeft) {
    EditorState s = OpenEditor(Record(9), 0);
    Apply(s, intent::CommitField(Field::Fixed, "7"));
    EXPECT_EQ(s.record.m_valVolt.m_lValue, 7000);
    Apply(s, intent::SelectPort(kPortTelecom));
    EXPECT_EQ(Project(s).page, OutputPage::TelecomEd3);
    EXPECT_EQ(s.record.m_vlVolt.m_lMax, 6000);
    // The field keeps showing what it holds until the operator passes through it.
    EXPECT_EQ(Project(s).voltage.fixed.text, "7.0");
    EXPECT_EQ(Project(s).ok.messages, QStringList{"Please check a VOLTAGE.\n(MAX 6kV)"});
    Apply(s, intent::CommitField(Field::Fixed, Project(s).voltage.fixed.text));
    EXPECT_EQ(s.record.m_valVolt.m_lValue, 6000);
    EXPECT_EQ(Project(s).voltage.fixed.text, "6.0");
    Apply(s, intent::SelectPort(kPortAc));
    EXPECT_EQ(s.record.m_vlVolt.m_lMax, 15000);

    // A coupling unit keeps the generator's maximum on every port.
    EditorState unit = OpenEditor(Record(0x400B), 0);
    Apply(unit, intent::SelectPort(kPortTelecom));
    EXPECT_EQ(unit.record.m_vlVolt.m_lMax, 15000);
}

TEST(EditorState, AcLineConfigurationRelabelsKeepsItsOwnLinesAndSetsTheListKind) {
    CSettingData r = Record(5);
    r.m_outOutput.m_aopOutputPort[0].m_aulInjRetBit[0] = 0x9;  // L-N and N-L
    r.m_outOutput.m_aopOutputPort[0].m_aulInjRetBit[3] = 0x2;  // L1-L3
    EditorState s = OpenEditor(r, 0);
    EXPECT_EQ(PageOf(Project(s), OutputPage::Ac).lines[0].text, "L  - N ");
    EXPECT_TRUE(PageOf(Project(s), OutputPage::Ac).lines[3].checked);

    Apply(s, intent::SelectLineConfiguration(kAcThreePhase));
    const std::vector<BoxView> lines = PageOf(Project(s), OutputPage::Ac).lines;
    EXPECT_EQ(lines[0].text, "L1 - L2");
    EXPECT_EQ(lines[3].text, "L2 - L1");
    EXPECT_FALSE(lines[0].checked);
    EXPECT_TRUE(lines[1].checked);
    EXPECT_TRUE(lines[1].enabled);
    EXPECT_FALSE(lines[2].enabled);
    EXPECT_FALSE(lines[kAcLNPE].visible);  // combined lines only where a unit switches them

    Apply(s, intent::ToggleLine(kAcL2L3, true));
    Apply(s, intent::ToggleLine(kAcL1N, true));  // disabled: no change
    const OUTPUT_PORT& slot = s.record.m_outOutput.m_aopOutputPort[0];
    EXPECT_EQ(slot.m_aulInjRetBit[3], 0x12u);
    EXPECT_EQ(slot.m_aulInjRetBit[0], 0x9u);  // the old configuration keeps its lines

    // Line-to-line and line-to-earth lines together ask for the NORMAL/COMMON list.
    Apply(s, intent::SelectLineConfiguration(kAcThreePhaseNPE));
    EXPECT_EQ(s.record.m_valVolt.m_nVariableKind, 1);
    Apply(s, intent::SelectValueType(ValuePanel::Voltage, kValueVariable));
    EXPECT_EQ(Project(s).voltage.page, ValuePage::NormalCommon);
    Apply(s, intent::SelectLineConfiguration(kAcThreePhaseN));
    EXPECT_EQ(Project(s).voltage.page, ValuePage::List);
    Apply(s, intent::SelectLineConfiguration(kAcThreePhasePE));  // hardware 0: not offered
    EXPECT_EQ(slot.m_nOutputDetail, kAcThreePhaseN);

    // On the three-phase coupling unit the combined lines show and can be chosen.
    EditorState unit = OpenEditor(Record(kMachineThreePhaseUnit), 0);
    Apply(unit, intent::SelectLineConfiguration(kAcThreePhaseNPE));
    EXPECT_TRUE(PageOf(Project(unit), OutputPage::Ac).lines[kAcL123NPE].visible);
}

TEST(EditorState, AcLineConfigurationsFollowTheHardwareVersion) {
    EditorState older = OpenEditor(Record(5), 0);
    EXPECT_EQ(PageOf(Project(older), OutputPage::Ac).detail.items.size(), 6u);
    EXPECT_EQ(older.record.m_nHWVersion, 0);

    EditorState newer = OpenEditor(Record(5), 1);
    const QStringList items = Texts(PageOf(Project(newer), OutputPage::Ac).detail);
    EXPECT_EQ(items.size(), 7);
    EXPECT_EQ(items.at(5), "THREE  PHASE L1, L2, L3, PE");
    EXPECT_EQ(newer.record.m_nHWVersion, 1);  // the record takes the instrument's version

    EXPECT_EQ(OpenEditor(Record(1), 1).record.m_nHWVersion, 0);  // single phase leaves it
    CSettingData own = Record(5);
    own.m_nHWVersion = 1;  // the record's own version suffices
    EXPECT_EQ(PageOf(Project(OpenEditor(own, 0)), OutputPage::Ac).detail.items.size(), 7u);
}

TEST(EditorState, DcRingImpedanceAndLinesOfTheOtherConfiguration) {
    CSettingData r = Record(2, kPortDc);
    r.m_outOutput.m_aopOutputPort[kPortDc].m_nRingRegi = 1;
    EditorState s = OpenEditor(r, 0);
    EXPECT_FALSE(PageOf(Project(s), OutputPage::Dc).ring.visible);
    Apply(s, intent::SelectWaveform(kWaveRing));
    EXPECT_TRUE(PageOf(Project(s), OutputPage::Dc).ring.visible);
    EXPECT_EQ(PageOf(Project(s), OutputPage::Dc).ring.current, 1);
    Apply(s, intent::SelectWaveform(kWave1250));
    EXPECT_FALSE(PageOf(Project(s), OutputPage::Dc).ring.visible);
    const OUTPUT_PORT& slot = s.record.m_outOutput.m_aopOutputPort[kPortDc];
    EXPECT_EQ(slot.m_nRingRegi, 1);            // kept while hidden
    Apply(s, intent::SelectRingImpedance(0));  // hidden: no change
    EXPECT_EQ(slot.m_nRingRegi, 1);

    // "+, -" disables the PE boxes but keeps their bits for "+, -, PE".
    Apply(s, intent::SelectLineConfiguration(kDcPlusMinusPE));
    EXPECT_EQ(s.record.m_valVolt.m_nVariableKind, 1);
    Apply(s, intent::ToggleLine(kDcLinePlusPE, true));
    Apply(s, intent::SelectLineConfiguration(kDcPlusMinus));
    EXPECT_EQ(s.record.m_valVolt.m_nVariableKind, 0);
    EXPECT_FALSE(PageOf(Project(s), OutputPage::Dc).lines[kDcLinePlusPE].enabled);
    EXPECT_EQ(slot.m_aulInjRetBit[kDcPlusMinusPE] & 0x4u, 0x4u);
}

TEST(EditorState, WaveformMovesTheIntervalMinimum) {
    // Through a coupling unit the ring wave allows 5 s; the interval itself stays.
    CSettingData r = Record(0x400B);
    r.m_lRept = 10;
    EditorState s = OpenEditor(r, 0);
    Apply(s, intent::SelectWaveform(kWaveRing));
    EXPECT_EQ(s.record.m_vlRept.m_lMin, 5);
    EXPECT_EQ(s.record.m_lRept, 10);
    Apply(s, intent::CommitField(Field::Interval, "3"));
    EXPECT_EQ(s.record.m_lRept, 5);
    EXPECT_EQ(Project(s).interval.text, "5");

    // A telecom port with 10/700 needs 15 s; 1.2/50 lowers the minimum, not the interval.
    CSettingData t = Record(1);
    t.m_lRept = 10;
    EditorState tel = OpenEditor(t, 0);
    Apply(tel, intent::SelectPort(kPortTelecom));
    EXPECT_EQ(tel.record.m_lRept, 15);
    Apply(tel, intent::SelectWaveform(kWave1250));
    EXPECT_EQ(tel.record.m_vlRept.m_lMin, 10);
    EXPECT_EQ(tel.record.m_lRept, 15);
    // The AC port of this machine has no waveform choice.
    Apply(tel, intent::SelectPort(kPortAc));
    Apply(tel, intent::SelectWaveform(kWaveRing));
    EXPECT_EQ(tel.record.m_outOutput.m_aopOutputPort[kPortAc].m_nWaveform, kWave1250);
    EXPECT_TRUE(PageOf(Project(tel), OutputPage::Ac).waveformText);
}

TEST(EditorState, ShowingAPageStoresWhatItsListsShow) {
    // A file left codes the machine does not offer; the page shows its first items and the
    // record follows, with the interval minimum of the waveform now shown.
    CSettingData r = Record(1, kPortDc);
    OUTPUT_PORT& dc = r.m_outOutput.m_aopOutputPort[kPortDc];
    dc.m_nWaveform = kWaveRing;
    dc.m_nCoup = 7;
    dc.m_nOutputDetail = 4;
    r.m_outOutput.m_aopOutputPort[kPortTelecom].m_nWaveform = 5;
    const EditorState s = OpenEditor(r, 0);
    const OUTPUT_PORT& slot = s.record.m_outOutput.m_aopOutputPort[kPortDc];
    EXPECT_EQ(slot.m_nWaveform, kWave1250);
    EXPECT_EQ(slot.m_nCoup, kCouplingStandard);
    EXPECT_EQ(slot.m_nOutputDetail, kDcPlusMinus);
    // Pages not shown are left alone.
    EXPECT_EQ(s.record.m_outOutput.m_aopOutputPort[kPortTelecom].m_nWaveform, 5);
}

TEST(EditorState, SyncOpensTheAnglePanel) {
    EditorState s = OpenEditor(Record(5), 0);
    EXPECT_FALSE(PageOf(Project(s), OutputPage::Ac).angle.inputsEnabled);
    Apply(s, intent::CommitField(Field::SweepEnd, "100", ValuePanel::Angle));
    EXPECT_EQ(s.record.m_outOutput.m_aopOutputPort[0].m_valAngle.m_lEnd, 270);  // disabled
    Apply(s, intent::SetSync(true));
    EXPECT_EQ(s.record.m_outOutput.m_aopOutputPort[0].m_nSync, 1);
    EXPECT_TRUE(PageOf(Project(s), OutputPage::Ac).angle.inputsEnabled);
    Apply(s, intent::CommitField(Field::SweepEnd, "400", ValuePanel::Angle));
    EXPECT_EQ(s.record.m_outOutput.m_aopOutputPort[0].m_valAngle.m_lEnd, 360);
    EXPECT_EQ(PageOf(Project(s), OutputPage::Ac).angle.unit, "[deg]");
    Apply(s, intent::SetSync(false));
    EXPECT_EQ(s.record.m_outOutput.m_aopOutputPort[0].m_nSync, 0);

    Apply(s, intent::SelectPort(kPortDc));
    Apply(s, intent::SetSync(true));  // the DC port has no phase synchronisation
    EXPECT_EQ(s.record.m_outOutput.m_aopOutputPort[kPortDc].m_nSync, 0);
}

TEST(EditorState, FieldsClampParseAndSpin) {
    EditorState s = OpenEditor(Record(5), 0);
    Apply(s, intent::CommitField(Field::Count, "12.34"));
    EXPECT_EQ(s.record.m_lDisc, 12);
    EXPECT_EQ(Project(s).count.text, "12");
    Apply(s, intent::SpinField(Field::Interval, "60", true));
    EXPECT_EQ(s.record.m_lRept, 61);
    Apply(s, intent::CommitField(Field::Interval, "3"));
    EXPECT_EQ(s.record.m_lRept, 10);  // the 1.2/50 minimum
    CSettingData zero = Record(5);
    zero.m_lDisc = 0;  // only a file holds one; passing through the field lifts it
    EditorState z = OpenEditor(zero, 0);
    Apply(z, intent::CommitField(Field::Count, Project(z).count.text));
    EXPECT_EQ(z.record.m_lDisc, 1);

    Apply(s, intent::CommitField(Field::Fixed, "16"));
    EXPECT_EQ(s.record.m_valVolt.m_lValue, 15000);
    EXPECT_EQ(Project(s).voltage.fixed.text, "15.0");
    Apply(s, intent::CommitField(Field::Fixed, "0.55"));
    EXPECT_EQ(s.record.m_valVolt.m_lValue, 600);
    EXPECT_EQ(Project(s).voltage.fixed.text, "0.6");
    Apply(s, intent::SpinField(Field::Fixed, "0.6", false));
    EXPECT_EQ(s.record.m_valVolt.m_lValue, 500);

    // A sweep's end never passes its start, its step never falls below the increment.
    Apply(s, intent::SelectValueType(ValuePanel::Voltage, kValueSweep));
    Apply(s, intent::CommitField(Field::SweepEnd, "4"));
    Apply(s, intent::CommitField(Field::SweepStart, "2"));
    Apply(s, intent::CommitField(Field::SweepEnd, "1"));
    EXPECT_EQ(s.record.m_valVolt.m_lEnd, 2000);
    Apply(s, intent::CommitField(Field::SweepStep, "0"));
    EXPECT_EQ(s.record.m_valVolt.m_lStep, 100);

    // List rows: values and flags.
    Apply(s, intent::SelectValueType(ValuePanel::Voltage, kValueVariable));
    Apply(s, intent::ToggleUse(ValuePanel::Voltage, 2, false, true));
    Apply(s, intent::CommitField(Field::ListValue, "3.5", ValuePanel::Voltage, 2));
    EXPECT_EQ(s.record.m_valVolt.m_abUse[2], 1);
    EXPECT_EQ(s.record.m_valVolt.m_alValue[2], 3500);
    EXPECT_TRUE(Project(s).voltage.use[2]);
    EXPECT_EQ(Project(s).voltage.list[2].text, "3.5");
}

TEST(EditorState, UnknownValueTypeSelectsNoTabUntilOneIsPicked) {
    CSettingData r = Record(5);
    r.m_valVolt.m_nValueType = 7;
    EditorState s = OpenEditor(r, 0);
    EXPECT_EQ(Project(s).voltage.tab, -1);
    EXPECT_EQ(Project(s).voltage.page, ValuePage::None);
    EXPECT_EQ(s.record.m_valVolt.m_nValueType, 7);
    Apply(s, intent::SelectValueType(ValuePanel::Voltage, 3));
    EXPECT_EQ(s.record.m_valVolt.m_nValueType, 7);
    Apply(s, intent::SelectValueType(ValuePanel::Voltage, kValueSweep));
    EXPECT_EQ(Project(s).voltage.tab, kValueSweep);
}

TEST(EditorState, OkCheckIsAFunctionOfTheState) {
    EditorState s = OpenEditor(Record(1, kPortTelecom), 0);
    ASSERT_TRUE(Project(s).ok.accept);
    Apply(s, intent::ToggleLine(kTelecomRetPE, false));
    EXPECT_EQ(Project(s).ok.messages, QStringList{"Please select a RETURN LINE. "});
    EXPECT_FALSE(Project(s).ok.accept);
    Apply(s, intent::ToggleLine(kTelecomRet1, true));
    Apply(s, intent::SelectPolarity(1));
    EXPECT_EQ(s.record.m_ulPola, 2u);
    EXPECT_EQ(Project(s).polarity, 1);
    EXPECT_TRUE(Project(s).ok.accept);
}

TEST(EditorState, SinglePhaseRelabelsFourAcBoxes) {
    EXPECT_EQ(AcLineLabel(kAcLN, kAcSinglePhaseLN), "L  - N ");
    EXPECT_EQ(AcLineLabel(kAcNL, kAcSinglePhaseLNPE), "N  - L ");
    EXPECT_EQ(AcLineLabel(kAcLPE, kAcSinglePhaseLNPE), "L  - PE");
    EXPECT_EQ(AcLineLabel(kAcNPEsingle, kAcSinglePhaseLN), "N  - PE");
    EXPECT_EQ(AcLineLabel(kAcL1L2, kAcThreePhase), "L1 - L2");
    EXPECT_EQ(AcLineLabel(kAcL1PE, kAcThreePhaseNPE), "L1 - PE");
    EXPECT_EQ(AcLineLabel(kAcL1N, kAcSinglePhaseLN), "L1 - N");  // unmarked boxes keep theirs
    EXPECT_EQ(AcLineLabel(kAcL123NPE, kAcSinglePhaseLN), "L1+L2+L3+N - PE");
    EXPECT_EQ(AcLineLabel(20, 0), "");
    EXPECT_EQ(DcLineLabel(kDcLineMinusPlus), "- - +");
    EXPECT_EQ(TelecomLineLabel(kTelecomRetPE), "RET PE");
}

}  // namespace
}  // namespace zeb

// The test condition editor on each output page and with the voltage set on each value page.

#include "SettingDlg.h"
#include "SettingsDoc.h"
#include "Shots.h"

namespace zebshots {

namespace {

void DcRing(zeb::CSettingData& r) {
    r.m_outOutput.m_aopOutputPort[zeb::kPortDc].m_nWaveform = 2;
}

void VoltageFixed(zeb::CSettingData& r) {
    r.m_valVolt.m_nValueType = zeb::kValueFixed;
    r.m_valVolt.m_lValue = 1000;
}

void VoltageSweep(zeb::CSettingData& r) {
    r.m_valVolt.m_nValueType = zeb::kValueSweep;
    r.m_valVolt.m_lStart = 500;
    r.m_valVolt.m_lEnd = 4000;
    r.m_valVolt.m_lStep = 500;
}

void FillVoltages(zeb::CSettingData& r, int kind) {
    r.m_valVolt.m_nValueType = zeb::kValueVariable;
    r.m_valVolt.m_nVariableKind = kind;
    const int volts[] = {500, 1000, 2000, 4000};
    for (int i = 0; i < 4; ++i) {
        r.m_valVolt.m_abUse[i] = 1;
        r.m_valVolt.m_alValue[i] = volts[i];
    }
}

// A single-phase line configuration with only line-to-line (or only line-to-earth) lines.
void VoltageList(zeb::CSettingData& r) {
    r.m_outOutput.m_aopOutputPort[zeb::kPortAc].m_nOutputDetail = 3;
    FillVoltages(r, 0);
}

// A configuration with both kinds of lines: every voltage has a NORMAL and a COMMON flag.
void VoltageNormalCommon(zeb::CSettingData& r) {
    r.m_outOutput.m_aopOutputPort[zeb::kPortAc].m_nOutputDetail = 5;
    FillVoltages(r, 1);
    r.m_valVolt.m_abUse2[0] = 1;
    r.m_valVolt.m_abUse2[1] = 1;
    r.m_valVolt.m_abUse[1] = 0;
}

}  // namespace

void EditorShots(ShotFolder& shots) {
    struct Sample {
        quint32 machineType;
        int port;
        void (*adjust)(zeb::CSettingData&);
        const char* name;
    };
    const Sample samples[] = {
        {kSinglePhase, zeb::kPortAc, nullptr, "editor-ac-single-phase"},
        {kThreePhase, zeb::kPortAc, AcThreePhaseSweep, "editor-ac-three-phase"},
        {kRingLines, zeb::kPortDc, DcRing, "editor-dc-ring"},
        {kThreePhase, zeb::kPortSurge, nullptr, "editor-surge-output"},
        {kThreePhase, zeb::kPortTelecom, TelecomTest, "editor-telecom"},
        {zeb::kMachineTelecomUnit, zeb::kPortTelecom, nullptr, "editor-telecom-coupling-unit"},
        {kEdition3, zeb::kPortTelecom, nullptr, "editor-telecom-edition3"},
        {kThreePhase, zeb::kPortAc, VoltageFixed, "editor-voltage-fix"},
        {kThreePhase, zeb::kPortAc, VoltageSweep, "editor-voltage-sweep"},
        {kThreePhase, zeb::kPortAc, VoltageList, "editor-voltage-variable"},
        {kThreePhase, zeb::kPortAc, VoltageNormalCommon, "editor-voltage-normal-common"},
    };
    for (const Sample& s : samples) {
        zeb::CZebM40SettingsDoc doc;
        MakeDocument(doc, s.machineType, s.port, s.adjust);
        zeb::CSettingDlg dlg(doc.Record(), nullptr, 1);
        shots.Save(dlg, QString::fromLatin1(s.name));
    }
}

}  // namespace zebshots

#include "SettingData.h"

#include <algorithm>
#include <limits>

namespace zeb {

namespace {

int32_t ClampToInt32(int64_t v) {
    return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

void SetLimit(VALUE_LIMIT& vl, const char* unit, int32_t exponent, int32_t decimals, int32_t min,
              int32_t max, int32_t increment) {
    vl.m_strUnit = QString::fromLatin1(unit);
    vl.m_nExponent = exponent;
    vl.m_nDecimals = decimals;
    vl.m_lMin = min;
    vl.m_lMax = max;
    vl.m_lIncrement = increment;
}

// A list whose first five entries hold the given values and whose first entry is used in both
// modes; a file may use all ten entries, the entry pages reach the first five.
void SetListDefaults(VALUE& val, int32_t fill, const int32_t (&first)[5]) {
    for (int i = 0; i < kSlotCount; ++i) {
        val.m_abUse[i] = 0;
        val.m_abUse2[i] = 0;
        val.m_alValue[i] = fill;
    }
    val.m_abUse[0] = 1;
    val.m_abUse2[0] = 1;
    for (int i = 0; i < 5; ++i) {
        val.m_alValue[i] = first[i];
    }
}

}  // namespace

int32_t VALUE::ValueCount() const {
    switch (m_nValueType) {
        case kValueFixed:
            return 1;
        case kValueSweep: {
            if (m_lStep == 0) {
                return 1;
            }
            // 64-bit, so values from a file cannot overflow; a backwards sweep gives a count
            // of zero or below, which callers treat as no values.
            const int64_t d = int64_t{m_lEnd} - m_lStart;
            const int64_t q = d / m_lStep;
            const int64_t r = d % m_lStep;
            return ClampToInt32(r != 0 ? q + 2 : q + 1);
        }
        case kValueVariable: {
            if (m_nVariableKind != 0 && m_nVariableKind != 1) {
                return 0;
            }
            int32_t n = 0;
            for (int i = 0; i < kSlotCount; ++i) {
                if (m_abUse[i] || (m_nVariableKind == 1 && m_abUse2[i])) {
                    ++n;
                }
            }
            return n;
        }
        default:
            return 0;
    }
}

int32_t VALUE::ValueAt(int32_t index, int32_t& mode) const {
    mode = kModeNone;
    switch (m_nValueType) {
        case kValueFixed:
            return m_lValue;
        case kValueSweep:
            return ClampToInt32(std::min<int64_t>(m_lEnd, m_lStart + int64_t{index} * m_lStep));
        case kValueVariable: {
            if (m_nVariableKind != 0 && m_nVariableKind != 1) {
                return 0;
            }
            int32_t seen = 0;
            for (int i = 0; i < kSlotCount; ++i) {
                const bool normal = m_abUse[i] != 0;
                const bool common = m_nVariableKind == 1 && m_abUse2[i] != 0;
                if (!normal && !common) {
                    continue;
                }
                if (seen++ != index) {
                    continue;
                }
                if (m_nVariableKind == 0) {
                    mode = kModeListed;
                } else {
                    mode = normal && common ? kModeNormalCommon
                           : normal         ? kModeNormal
                                            : kModeCommon;
                }
                return m_alValue[i];
            }
            return 0;
        }
        default:
            return 0;
    }
}

CSettingData::CSettingData() {
    SetDefault();
}

void CSettingData::SetDefault() {
    SetLimit(m_vlVolt, "[kV]", 3, 1, 0, 15000, 100);
    SetLimit(m_vlDisc, "[Times]", 0, 0, 1, 999, 1);
    SetLimit(m_vlRept, "[s]", 0, 0, 10, 999, 1);
    SetLimit(m_vlAngle, "[deg]", 0, 0, 0, 360, 1);
    m_outOutput.m_nOutputPort = kPortAc;

    const bool couplingUnit = HasCouplingUnit(m_ulMachineType);
    for (int k = 0; k < kSlotCount; ++k) {
        OUTPUT_PORT& op = m_outOutput.m_aopOutputPort[k];
        op.m_nOutputDetail = 0;
        std::fill(std::begin(op.m_aulInjRetBit), std::end(op.m_aulInjRetBit), 1u);
        op.m_nCoup = (k == kPortTelecom && couplingUnit) ? 1 : 0;
        op.m_nWaveform = 0;
        op.m_nRingRegi = 0;
        op.m_nSync = 0;
        op.m_bVaristorTestMode = 0;
        VALUE& angle = op.m_valAngle;
        angle.m_nValueType = kValueSweep;
        angle.m_lValue = 0;
        angle.m_lStart = 0;
        angle.m_lEnd = 270;
        angle.m_lStep = 90;
        angle.m_nVariableKind = 0;
        SetListDefaults(angle, 0, {0, 90, 180, 270, 270});
    }

    OUTPUT_PORT& surge = m_outOutput.m_aopOutputPort[kPortSurge];
    surge.m_nOutputDetail = 0;
    surge.m_nWaveform = 0;
    surge.m_aulInjRetBit[0] = 1;

    OUTPUT_PORT& dc = m_outOutput.m_aopOutputPort[kPortDc];
    dc.m_nOutputDetail = 0;
    dc.m_nWaveform = 0;
    dc.m_aulInjRetBit[0] = 1;
    dc.m_aulInjRetBit[1] = 1;

    // A three-phase coupling unit has no single-phase configuration.
    OUTPUT_PORT& ac = m_outOutput.m_aopOutputPort[kPortAc];
    ac.m_nOutputDetail = (couplingUnit && (m_ulMachineType & kThreePhaseBit)) ? 3 : 0;
    ac.m_nWaveform = 0;
    for (int d : {0, 1, 3, 4, 5}) {
        ac.m_aulInjRetBit[d] = 1;
    }

    // Telecom: four lines, 10/700, line "PE" (bit 4) in both configurations.
    OUTPUT_PORT& telecom = m_outOutput.m_aopOutputPort[kPortTelecom];
    telecom.m_nOutputDetail = 1;
    telecom.m_nWaveform = 1;
    telecom.m_aulInjRetBit[0] = 16;
    telecom.m_aulInjRetBit[1] = 16;

    m_valVolt.m_nValueType = kValueFixed;
    m_valVolt.m_lValue = 500;
    m_valVolt.m_lStart = 500;
    m_valVolt.m_lEnd = 500;
    m_valVolt.m_lStep = 100;
    m_valVolt.m_nVariableKind = 0;
    SetListDefaults(m_valVolt, 500, {500, 1000, 2000, 4000, 4000});

    m_ulPola = 1;
    m_lDisc = 5;
    m_lRept = 60;
}

const OUTPUT_PORT* CSettingData::SelectedPort() const {
    const int32_t p = m_outOutput.m_nOutputPort;
    return (p >= 0 && p < kSlotCount) ? &m_outOutput.m_aopOutputPort[p] : nullptr;
}

CExecData CSettingData::TemplateStep() const {
    CExecData step;
    step.m_ulMachineType = m_ulMachineType;
    step.m_nOutputPort = m_outOutput.m_nOutputPort;
    if (const OUTPUT_PORT* s = SelectedPort()) {
        step.m_nOutputDetail = s->m_nOutputDetail;
        step.m_nCoup = s->m_nCoup;
        step.m_nWaveform = s->m_nWaveform;
        step.m_nRingRegi = s->m_nRingRegi;
        step.m_bVaristorTestMode = s->m_bVaristorTestMode;
        step.m_nSync = s->m_nSync;
    }
    step.m_lDisc = m_lDisc;
    step.m_lRept = m_lRept;
    step.m_nResult = kResultNone;
    step.m_strComment.clear();
    return step;
}

}  // namespace zeb

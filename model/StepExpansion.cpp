// Expansion of a test condition record into the ordered list of test steps the instrument runs
// one after the other. Loop order, outermost first: voltage, injection-return line, polarity,
// phase angle.

#include <algorithm>
#include <initializer_list>
#include <limits>
#include <vector>

#include "SettingData.h"

namespace zeb {

namespace {

// Bit numbers of the set bits of a bit set, lowest first.
std::vector<int32_t> SetBits(uint32_t bits) {
    std::vector<int32_t> out;
    for (int32_t b = 0; b < 32; ++b) {
        if (bits & (1u << b)) {
            out.push_back(b);
        }
    }
    return out;
}

// Above the recharge threshold the 1.2/50 and 10/700 waves need a longer interval.
void RaiseInterval(CExecData& step) {
    if (AboveRechargeThreshold(step.m_ulMachineType, step.m_lVolt)) {
        step.m_lRept = std::max(step.m_lRept, HighVoltageInterval(step.m_nWaveform));
    }
}

// The selected line configuration's line bit set; empty when a file left the port or the
// configuration code outside the stored slots.
uint32_t SelectedLines(const CSettingData& rec) {
    const OUTPUT_PORT* s = rec.SelectedPort();
    if (!s || s->m_nOutputDetail < 0 || s->m_nOutputDetail >= kSlotCount) {
        return 0;
    }
    return s->m_aulInjRetBit[s->m_nOutputDetail];
}

int32_t AngleCount(const CSettingData& rec) {
    const OUTPUT_PORT* s = rec.SelectedPort();
    if (!s) {
        return 0;
    }
    return s->m_nSync == 1 ? s->m_valAngle.ValueCount() : 1;
}

}  // namespace

int64_t CSettingData::StepCount() const {
    const std::vector<int32_t> lines = SetBits(SelectedLines(*this));
    const int64_t polarities = static_cast<int64_t>(SetBits(m_ulPola).size());
    const int64_t angles = AngleCount(*this);
    if (angles <= 0 || polarities == 0) {
        return 0;
    }
    const int64_t voltages = std::max<int32_t>(m_valVolt.ValueCount(), 0);
    // Only list sets mark values NORMAL or COMMON (and they hold at most ten values); fixed
    // values and sweeps keep every line.
    if (m_valVolt.m_nValueType != kValueVariable) {
        return SaturatingProduct(
            {voltages, static_cast<int64_t>(lines.size()), polarities, angles});
    }
    int64_t total = 0;
    for (int32_t j = 0; j < voltages; ++j) {
        int32_t mode = 0;
        m_valVolt.ValueAt(j, mode);
        for (int32_t line : lines) {
            total +=
                LineKeptForMode(m_outOutput.m_nOutputPort, mode, line) ? polarities * angles : 0;
        }
    }
    return total;
}

void CSettingData::ExpandSteps(ExecDataList& list) const {
    list.clear();
    const OUTPUT_PORT* s = SelectedPort();
    if (!s) {
        return;
    }
    const int32_t port = m_outOutput.m_nOutputPort;
    const CExecData tmpl = TemplateStep();
    const std::vector<int32_t> lines = SetBits(SelectedLines(*this));
    const std::vector<int32_t> polarities = SetBits(m_ulPola);
    const int32_t angles = AngleCount(*this);
    const int32_t voltages = m_valVolt.ValueCount();

    for (int32_t j = 0; j < voltages; ++j) {
        int32_t mode = 0;
        const int32_t volt = m_valVolt.ValueAt(j, mode);
        for (int32_t line : lines) {
            if (!LineKeptForMode(port, mode, line)) {
                continue;
            }
            for (int32_t pola : polarities) {
                for (int32_t f = 0; f < angles; ++f) {
                    CExecData step = tmpl;
                    step.m_nInjRet = line;
                    step.m_nPola = pola;
                    step.m_lVolt = volt;
                    step.m_lAngle = s->m_valAngle.ValueAt(f);
                    RaiseInterval(step);
                    list.push_back(std::move(step));
                }
            }
        }
    }
}

}  // namespace zeb

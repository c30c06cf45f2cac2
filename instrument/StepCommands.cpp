#include "StepCommands.h"

#include "CommandTable.h"
#include "SettingData.h"

namespace zeb {

namespace {
constexpr char kModeBase = 0x30;  // mode characters are '0' plus a 4-bit value
constexpr char kRing12Ohm = 0x08;
constexpr char kSyncBit = 0x01;
constexpr char kTelecomDetailBit = 0x01;

// Bits 1 and 2 of the first mode character for the AC and DC ports.
char CouplingBits(int coup) {
    switch (coup) {
        case kCouplingStandard:
            return 0x00;
        case kCoupling10Ohm9uF:
            return 0x02;
        case kCoupling18uF:
            return 0x06;
        default:
            return 0x00;
    }
}

using C = InstrumentCommand;
}  // namespace

int AcLineCode(int injRet) {
    // The instrument numbers the pairs four to an injection line (L1, L2, L3, N, each with its
    // returns), then the multi-line pairs; the program lists line-to-PE pairs after the others.
    static const int kCodes[20] = {0,  1,  2, 4, 5,  6,  8,  9,  10, 12,
                                   13, 14, 3, 7, 11, 15, 16, 17, 18, 19};
    return injRet >= 0 && injRet < 20 ? kCodes[injRet] : -1;
}

int DcLineCode(int injRet) {
    static const int kCodes[4] = {0, 2, 1, 3};
    return injRet >= 0 && injRet < 4 ? kCodes[injRet] : -1;
}

QString ModeCharacters(const CExecData& step) {
    char first = kModeBase;
    char second = kModeBase;
    if (step.m_nWaveform == kWaveRing && step.m_nRingRegi == kRingWave12Ohm) {
        first |= kRing12Ohm;
    }
    const bool unit = HasCouplingUnit(step.m_ulMachineType);
    switch (step.m_nOutputPort) {
        case kPortAc:
            if (unit && step.m_nCoup == kCouplingStandard) {
                // Through a coupling unit with the standard coupling, a line-to-earth pair
                // leaves bits 1 and 2 clear and every other pair sets bit 2.
                first |= IsCommonLine(kPortAc, step.m_nInjRet) ? 0x00 : 0x04;
            } else {
                first |= CouplingBits(step.m_nCoup);
            }
            if (step.m_nSync == 1) {
                first |= kSyncBit;
            }
            break;
        case kPortDc:
            if (unit && step.m_nCoup == kCouplingStandard) {
                first |= IsCommonLine(kPortDc, step.m_nInjRet) ? 0x00 : 0x04;
            } else {
                first |= CouplingBits(step.m_nCoup);
            }
            break;
        case kPortTelecom:
            first &= ~0x07;
            second = step.m_nCoup == 1 ? 0x32 : step.m_nCoup == 2 ? 0x36 : 0x30;
            if (step.m_nOutputDetail == 1) {
                second |= kTelecomDetailBit;
            }
            break;
        default:
            break;
    }
    return QString(QLatin1Char(first)) + QLatin1Char(second);
}

bool StepParameterCommands(const CExecData& step, QStringList& commands) {
    commands.clear();
    const bool unit = HasCouplingUnit(step.m_ulMachineType);
    const int acCode = AcLineCode(step.m_nInjRet);
    const int dcCode = DcLineCode(step.m_nInjRet);
    if ((step.m_nOutputPort == kPortAc && acCode < 0) ||
        (step.m_nOutputPort == kPortDc && dcCode < 0)) {
        return false;
    }
    commands << CommandText(C::Polarity, step.m_nPola)
             << CommandText(C::Voltage, step.m_lVolt / 10)  // in units of 10 V
             << CommandText(C::Interval, step.m_lRept) << CommandText(C::Discharges, step.m_lDisc)
             << CommandText(C::Angle, step.m_lAngle) << CommandText(C::Waveform, step.m_nWaveform);
    if (!unit && step.m_nOutputPort == kPortAc) {
        commands << CommandText(C::AcLineConfiguration, step.m_nOutputDetail);
    }
    if (!unit && step.m_nOutputPort == kPortDc) {
        commands << CommandText(C::DcLineConfiguration, step.m_nOutputDetail);
    }
    if (step.m_nOutputPort == kPortAc) {
        commands << CommandText(C::AcLines, acCode);
    }
    if (step.m_nOutputPort == kPortDc) {
        commands << CommandText(C::DcLines, dcCode);
    }
    if (!unit && step.m_nOutputPort == kPortTelecom) {
        commands << CommandText(C::TelecomLines, step.m_nInjRet);
    }
    commands << CommandText(C::Modes, ModeCharacters(step))
             << CommandText(C::Port, step.m_nOutputPort);
    return true;
}

}  // namespace zeb

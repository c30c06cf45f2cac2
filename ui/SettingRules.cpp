#include "SettingRules.h"

#include "StepCheck.h"

namespace zeb {

namespace {

// DC lines: + and - against each other are line-to-line, each against PE line-to-earth.
constexpr uint32_t kDcNormalLines = 0x3;
constexpr uint32_t kDcCommonLines = 0xC;

bool IsEdition3Telecom(int32_t port, uint32_t machineType) {
    return port == kPortTelecom && !HasCouplingUnit(machineType) && (machineType & kEdition3Bit);
}

}  // namespace

int BitCount(uint32_t bits) {
    int n = 0;
    for (; bits != 0; bits &= bits - 1) {
        ++n;
    }
    return n;
}

ChoiceList PortChoices(uint32_t machineType) {
    ChoiceList choices;
    if (machineType == kNoMachineType) {
        return choices;
    }
    // The same rule decides which ports a step from a file may use.
    for (const CodeName& port : names::kOutputPort) {
        if (PortOffered(machineType, port.code)) {
            choices.push_back({QString::fromLatin1(port.name), port.code});
        }
    }
    return choices;
}

OutputPage PageForPort(int32_t port, uint32_t machineType) {
    switch (port) {
        case kPortAc:
            return OutputPage::Ac;
        case kPortDc:
            return OutputPage::Dc;
        case kPortSurge:
            return OutputPage::Surge;
        case kPortTelecom:
            if (HasCouplingUnit(machineType)) {
                return OutputPage::TelecomUnit;
            }
            return (machineType & kEdition3Bit) ? OutputPage::TelecomEd3 : OutputPage::Telecom;
        default:
            return OutputPage::None;
    }
}

int32_t VariableKindForPort(int32_t port, int32_t detail, int32_t current) {
    switch (port) {
        case kPortAc:
            if (detail == 1 || detail == 2 || detail == 5) {
                return 1;
            }
            if (detail == 0 || detail == 3 || detail == 4) {
                return 0;
            }
            return current;
        case kPortDc:
            return (detail == 0 || detail == 1) ? detail : current;
        case kPortSurge:
        case kPortTelecom:
            return 0;
        default:
            return current;
    }
}

int32_t VariableKindForDetail(int32_t port, int32_t detail, int32_t current) {
    if (port == kPortAc && detail == 6) {
        return 1;
    }
    if (port == kPortAc || port == kPortDc) {
        return VariableKindForPort(port, detail, current);
    }
    return current;
}

int32_t VoltageMaxForPort(int32_t port, uint32_t machineType, int32_t current) {
    if (HasCouplingUnit(machineType)) {
        return current;
    }
    return GeneratorVoltageMax(machineType, port);
}

int32_t MinimumInterval(int32_t waveform, uint32_t machineType, int32_t current) {
    switch (waveform) {
        case 0:
            return 10;
        case 1:
            return 15;
        case 2:
            return HasCouplingUnit(machineType) ? 5 : 10;
        default:
            return current;
    }
}

bool ApplyMinimumInterval(CSettingData& record, int32_t waveform) {
    record.m_vlRept.m_lMin =
        MinimumInterval(waveform, record.m_ulMachineType, record.m_vlRept.m_lMin);
    if (record.m_lRept < record.m_vlRept.m_lMin) {
        record.m_lRept = record.m_vlRept.m_lMin;
        return true;
    }
    return false;
}

QStringList IntervalNotes(uint32_t machineType) {
    if (HasCouplingUnit(machineType)) {
        return {QStringLiteral("*Interval:1.2/50,Up to 4kV:10s-999s, More than 4.1kV:20s-999s"),
                QStringLiteral("*Interval:10/700,Up to 4kV:15s-999s, More than 4.1kV:30s-999s")};
    }
    return {QStringLiteral("*Interval:1.2/50,Up to 6kV:10s-999s, More than 6.1kV:20s-999s"),
            QStringLiteral("*Interval:10/700,Up to 6kV:15s-999s, More than 6.1kV:30s-999s")};
}

QString Edition3Note() {
    return QStringLiteral("*TELECOM LINE OUTPUT of ED3 models: up to 6kV");
}

OkCheckResult CheckForOk(const CSettingData& record) {
    OkCheckResult result;
    QStringList& messages = result.messages;
    const int32_t port = record.m_outOutput.m_nOutputPort;
    const uint32_t machineType = record.m_ulMachineType;
    // A file may hold a port or line configuration outside the tables: no lines then.
    const OUTPUT_PORT* slot =
        (port >= 0 && port < kSlotCount) ? &record.m_outOutput.m_aopOutputPort[port] : nullptr;
    const int32_t detail = slot ? slot->m_nOutputDetail : -1;
    const uint32_t lines =
        (slot && detail >= 0 && detail < kSlotCount) ? slot->m_aulInjRetBit[detail] : 0u;
    const VALUE& volt = record.m_valVolt;
    // A sweep running backwards yields no values, like an empty list.
    const int64_t voltages = std::max<int32_t>(0, volt.ValueCount());
    bool failed = false;

    if (voltages == 0) {
        messages << QStringLiteral("Please select a VOLTAGE.");
        failed = true;
    }
    if (IsEdition3Telecom(port, machineType)) {
        const QString tooHigh = QStringLiteral("Please check a VOLTAGE.\n(MAX 6kV)");
        if ((volt.m_nValueType == kValueFixed && volt.m_lValue > kEdition3TelecomMax) ||
            (volt.m_nValueType == kValueSweep && volt.m_lEnd > kEdition3TelecomMax)) {
            messages << tooHigh;
            return result;
        }
        if (volt.m_nValueType == kValueVariable) {
            for (int i = 0; i < kSlotCount; ++i) {
                if (volt.m_abUse[i] && volt.m_alValue[i] > kEdition3TelecomMax) {
                    messages << tooHigh;
                    failed = true;
                }
            }
        }
    }
    if (failed) {
        return result;
    }
    if (lines == 0) {
        messages << (port == kPortTelecom
                         ? QStringLiteral("Please select a RETURN LINE. ")
                         : QStringLiteral("Please select an INJECTION and RETURN LINE. "));
        return result;
    }
    int64_t angles = 1;
    if (slot->m_nSync == 1) {
        angles = std::max<int32_t>(0, slot->m_valAngle.ValueCount());
        if (angles == 0) {
            messages << QStringLiteral("Please select a PHASE ANGLE.");
            return result;
        }
    }
    const int64_t polarities = BitCount(record.m_ulPola);
    int64_t steps = BitCount(lines) * polarities * voltages * angles;

    if (volt.m_nValueType == kValueVariable) {
        int64_t normal = 0;
        int64_t common = 0;
        for (int i = 0; i < kSlotCount; ++i) {
            normal += volt.m_abUse[i] ? 1 : 0;
            common += volt.m_abUse2[i] ? 1 : 0;
        }
        // A NORMAL voltage is applied to line-to-line lines only, a COMMON one to
        // line-to-earth lines only, so each flag multiplies its own kind of lines.
        const auto split = [&](uint32_t normalMask, uint32_t commonMask) {
            return polarities *
                   (normal * BitCount(lines & normalMask) + common * BitCount(lines & commonMask)) *
                   angles;
        };
        if (port == kPortAc && (detail == 1 || detail == 2 || detail == 5 || detail == 6)) {
            steps = split(kAcNormalLines, kAcCommonLines);
            if (steps == 0) {
                if (normal == 0) {
                    messages << QStringLiteral("Please select a DIFFERENTIAL(L-L) mode VOLTAGE.");
                    failed = true;
                } else if (common == 0) {
                    messages << QStringLiteral("Please select a COMMON(L-PE) mode VOLTAGE.");
                    failed = true;
                }
            }
        } else if (port == kPortDc && detail == 1) {
            steps = split(kDcNormalLines, kDcCommonLines);
        }
    }
    if (steps > kMaxStepCount) {
        messages << QStringLiteral(
            "The number of test step exceeds limit.\nReduce the number of steps.");
        return result;
    }
    result.accept = !failed;
    return result;
}

}  // namespace zeb

#include "SettingRules.h"

#include "StepCheck.h"

namespace zeb {

namespace {

// The telecom output of an edition-3 main unit stops below the generator's own maximum.
bool TelecomLimited(int32_t port, uint32_t machineType) {
    return port == kPortTelecom && VoltageMax(machineType, port) < kGeneratorVoltageMax;
}

}  // namespace

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

int32_t VariableKindForDetail(int32_t port, int32_t detail, int32_t current) {
    const bool known = (port == kPortAc && detail >= 0 && detail <= kAcThreePhasePE) ||
                       (port == kPortDc && (detail == 0 || detail == 1));
    return known ? (HasBothLineKinds(port, detail) ? 1 : 0) : current;
}

int32_t VariableKindForPort(int32_t port, int32_t detail, int32_t current) {
    // Selecting the port leaves the kind of the three-phase configuration with PE to its page.
    if (port == kPortAc && detail == kAcThreePhasePE) {
        return current;
    }
    if (port == kPortSurge || port == kPortTelecom) {
        return 0;
    }
    return VariableKindForDetail(port, detail, current);
}

int32_t MinimumInterval(int32_t waveform, uint32_t machineType, int32_t current) {
    return EntryIntervalMinimum(machineType, waveform).value_or(current);
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
    // A file may hold a port or line configuration outside the tables: no lines then.
    const OUTPUT_PORT* slot = record.SelectedPort();
    const int32_t detail = slot ? slot->m_nOutputDetail : -1;
    const uint32_t lines =
        (slot && detail >= 0 && detail < kSlotCount) ? slot->m_aulInjRetBit[detail] : 0u;
    const VALUE& volt = record.m_valVolt;
    bool failed = false;

    // A sweep running backwards yields no values, like an empty list.
    if (volt.ValueCount() <= 0) {
        messages << QStringLiteral("Please select a VOLTAGE.");
        failed = true;
    }
    if (TelecomLimited(port, record.m_ulMachineType)) {
        const int32_t max = VoltageMax(record.m_ulMachineType, port);
        const QString tooHigh = QStringLiteral("Please check a VOLTAGE.\n(MAX 6kV)");
        if ((volt.m_nValueType == kValueFixed && volt.m_lValue > max) ||
            (volt.m_nValueType == kValueSweep && volt.m_lEnd > max)) {
            messages << tooHigh;
            return result;
        }
        if (volt.m_nValueType == kValueVariable) {
            for (int i = 0; i < kSlotCount; ++i) {
                if (volt.m_abUse[i] && volt.m_alValue[i] > max) {
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
    if (slot->m_nSync == 1 && slot->m_valAngle.ValueCount() <= 0) {
        messages << QStringLiteral("Please select a PHASE ANGLE.");
        return result;
    }
    const int64_t steps = EstimatedStepCount(record);
    if (steps == 0 && volt.m_nValueType == kValueVariable && port == kPortAc &&
        HasBothLineKinds(port, detail)) {
        // The selected lines are all of the kind no voltage is marked for.
        int normal = 0;
        int common = 0;
        for (int i = 0; i < kSlotCount; ++i) {
            normal += volt.m_abUse[i] ? 1 : 0;
            common += volt.m_abUse2[i] ? 1 : 0;
        }
        if (normal == 0) {
            messages << QStringLiteral("Please select a DIFFERENTIAL(L-L) mode VOLTAGE.");
            failed = true;
        } else if (common == 0) {
            messages << QStringLiteral("Please select a COMMON(L-PE) mode VOLTAGE.");
            failed = true;
        }
    }
    // The estimate is the editor's own; the expansion's exact count is asked as well, so that a
    // record from a file on which the two differ can never make more steps than allowed.
    if (steps > kMaxStepCount || record.StepCount() > kMaxStepCount) {
        messages << QStringLiteral(
            "The number of test step exceeds limit.\nReduce the number of steps.");
        return result;
    }
    result.accept = !failed;
    return result;
}

}  // namespace zeb

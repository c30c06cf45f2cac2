#include "NameTables.h"

#include "SettingData.h"

namespace zeb {

namespace {

constexpr CodeName kOutputPortEntries[] = {
    {"AC LINE OUTPUT", 0},
    {"DC LINE OUTPUT", 1},
    {"SURGE OUTPUT", 2},
    {"TELECOM LINE OUTPUT", 3},
};
constexpr CodeName kAcDetailEntries[] = {
    {"SINGLE PHASE L , N", 0},
    {"SINGLE PHASE L , N , PE", 1},
    {"SINGLE PHASE L1, L2, N , PE", 2},
    {"THREE  PHASE L1, L2, L3", 3},
    {"THREE  PHASE L1, L2, L3, N ", 4},
    {"THREE  PHASE L1, L2, L3, PE", 6},
    {"THREE  PHASE L1, L2, L3, N , PE", 5},
};
constexpr CodeName kDcDetailEntries[] = {{"+, -", 0}, {"+, -, PE", 1}};
constexpr CodeName kSurgeDetailEntries[] = {{"HOT - COM", 0}};
constexpr CodeName kTelecomDetailEntries[] = {{"TWO LINES", 0}, {"FOUR LINES", 1}};

// Bit numbers of the AC lines; bits 13 and 15 of the single-phase table share a name.
constexpr CodeName kAcSinglePhaseLineEntries[] = {
    {"L  - N ", 0},   {"L1 - L3", 1},        {"L1 - N ", 2},        {"N  - L ", 3},
    {"L2 - L3", 4},   {"L2 - N ", 5},        {"L3 - L1", 6},        {"L3 - L2", 7},
    {"L3 - N ", 8},   {"N  - L1", 9},        {"N  - L2", 10},       {"N  - L3", 11},
    {"L  - PE", 12},  {"N  - PE", 13},       {"L3 - PE", 14},       {"N  - PE", 15},
    {"L+N - PE", 16}, {"L1+L2+L3 - N ", 17}, {"L1+L2+L3 - PE", 18}, {"L1+L2+L3+N - PE", 19},
};
constexpr CodeName kAcLineEntries[] = {
    {"L1 - L2", 0},          {"L1 - L3", 1},          {"L1 - N ", 2},
    {"L2 - L1", 3},          {"L2 - L3", 4},          {"L2 - N ", 5},
    {"L3 - L1", 6},          {"L3 - L2", 7},          {"L3 - N ", 8},
    {"N  - L1", 9},          {"N  - L2", 10},         {"N  - L3", 11},
    {"L1 - PE", 12},         {"L2 - PE", 13},         {"L3 - PE", 14},
    {"N  - PE", 15},         {"L1+L2      - PE", 16}, {"L1+L2+L3   - N ", 17},
    {"L1+L2+L3   - PE", 18}, {"L1+L2+L3+N - PE", 19},
};
constexpr CodeName kDcLineEntries[] = {
    {"+ - - ", 0},
    {"- - + ", 1},
    {"+ - PE", 2},
    {"- - PE", 3},
};
constexpr CodeName kSurgeLineEntries[] = {{"HOT - COM", 0}};
constexpr CodeName kTelecomLineEntries[] = {{"1", 0}, {"2", 1}, {"3", 2}, {"4", 3}, {"PE", 4}};
// The telecom coupling unit does not name its lines.
constexpr CodeName kTelecomLineUnitEntries[] = {
    {"________", 0}, {"________", 1}, {"________", 2}, {"________", 3}, {"________", 4},
};
constexpr CodeName kCouplingEntries[] = {{"STANDARD", 0}, {"10ohm+9uF", 1}, {"18uF", 2}};
constexpr CodeName kTelecomImpedanceEntries[] = {{"STANDARD", 0}, {"40ohm", 1}, {"25ohm", 2}};
constexpr CodeName kTelecomImpedanceUnitEntries[] = {{"40ohm", 1}, {"15ohm", 2}};
constexpr CodeName kWaveformEntries[] = {{"1.2/50", 0}, {"10/700", 1}, {"RING", 2}};
constexpr CodeName kRingImpedanceEntries[] = {{"30ohm", 0}, {"12ohm", 1}};
constexpr CodeName kSyncEntries[] = {{"ASYNC", 0}, {"SYNC", 1}};
constexpr CodeName kPolarityEntries[] = {{"+", 0}, {"-", 1}, {"+/-", 2}};
constexpr CodeName kValueTypeEntries[] = {{"Fix", 0}, {"Sweep", 1}, {"Variable", 2}};
constexpr CodeName kResultEntries[] = {{"------", 0}, {"FAIL", 1}, {"PASS", 2}};

template <int N>
constexpr NameTable Table(const CodeName (&entries)[N]) {
    return NameTable{entries, N};
}

}  // namespace

QString NameTable::Lookup(int32_t code) const {
    for (const CodeName& e : *this) {
        if (e.code == code) {
            return QString::fromLatin1(e.name);
        }
    }
    return QString();
}

bool NameTable::Contains(int32_t code) const {
    for (const CodeName& e : *this) {
        if (e.code == code) {
            return true;
        }
    }
    return false;
}

namespace names {
const NameTable kOutputPort = Table(kOutputPortEntries);
const NameTable kAcDetail = Table(kAcDetailEntries);
const NameTable kDcDetail = Table(kDcDetailEntries);
const NameTable kSurgeDetail = Table(kSurgeDetailEntries);
const NameTable kTelecomDetail = Table(kTelecomDetailEntries);
const NameTable kAcSinglePhaseLine = Table(kAcSinglePhaseLineEntries);
const NameTable kAcLine = Table(kAcLineEntries);
const NameTable kDcLine = Table(kDcLineEntries);
const NameTable kSurgeLine = Table(kSurgeLineEntries);
const NameTable kTelecomLine = Table(kTelecomLineEntries);
const NameTable kTelecomLineUnit = Table(kTelecomLineUnitEntries);
const NameTable kCoupling = Table(kCouplingEntries);
const NameTable kTelecomImpedance = Table(kTelecomImpedanceEntries);
const NameTable kTelecomImpedanceUnit = Table(kTelecomImpedanceUnitEntries);
const NameTable kWaveform = Table(kWaveformEntries);
const NameTable kRingImpedance = Table(kRingImpedanceEntries);
const NameTable kSync = Table(kSyncEntries);
const NameTable kPolarity = Table(kPolarityEntries);
const NameTable kValueType = Table(kValueTypeEntries);
const NameTable kResult = Table(kResultEntries);
}  // namespace names

const NameTable* OutputDetailTable(int32_t port) {
    switch (port) {
        case kPortAc:
            return &names::kAcDetail;
        case kPortDc:
            return &names::kDcDetail;
        case kPortSurge:
            return &names::kSurgeDetail;
        case kPortTelecom:
            return &names::kTelecomDetail;
        default:
            return nullptr;
    }
}

const NameTable* LineTable(int32_t port, int32_t detail, uint32_t machineType) {
    switch (port) {
        case kPortAc:
            return UsesSinglePhaseLineNames(detail) ? &names::kAcSinglePhaseLine : &names::kAcLine;
        case kPortDc:
            return &names::kDcLine;
        case kPortSurge:
            return &names::kSurgeLine;
        case kPortTelecom:
            return machineType == kMachineTelecomUnit ? &names::kTelecomLineUnit
                                                      : &names::kTelecomLine;
        default:
            return nullptr;
    }
}

const NameTable* CouplingTable(int32_t port, uint32_t machineType) {
    switch (port) {
        case kPortAc:
        case kPortDc:
            return &names::kCoupling;
        case kPortTelecom:
            return machineType == kMachineTelecomUnit ? &names::kTelecomImpedanceUnit
                                                      : &names::kTelecomImpedance;
        default:
            return nullptr;
    }
}

}  // namespace zeb

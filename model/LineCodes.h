#pragma once
// Named codes of the line configurations (m_nOutputDetail) and line bits (m_aulInjRetBit, the
// step's m_nInjRet) of the four output ports, and which lines run line-to-line (NORMAL) and
// which line-to-earth (COMMON). What each machine offers of them is in Capabilities.h.

#include <cstdint>

namespace zeb {

// --- Line configuration codes (m_nOutputDetail of a port slot, m_nOutputDetail of a step) ----

enum AcLineConfiguration : int32_t {
    kAcSinglePhaseLN = 0,       // "SINGLE PHASE L , N"
    kAcSinglePhaseLNPE = 1,     // "SINGLE PHASE L , N , PE"
    kAcSinglePhaseL1L2NPE = 2,  // "SINGLE PHASE L1, L2, N , PE"
    kAcThreePhase = 3,          // "THREE  PHASE L1, L2, L3"
    kAcThreePhaseN = 4,         // "THREE  PHASE L1, L2, L3, N "
    kAcThreePhaseNPE = 5,       // "THREE  PHASE L1, L2, L3, N , PE"
    kAcThreePhasePE = 6,        // "THREE  PHASE L1, L2, L3, PE" (newer hardware only)
};
enum DcLineConfiguration : int32_t {
    kDcPlusMinus = 0,    // "+, -"
    kDcPlusMinusPE = 1,  // "+, -, PE"
};
constexpr int32_t kSurgeHotCom = 0;  // "HOT - COM", the surge output's only configuration
enum TelecomLineConfiguration : int32_t {
    kTelecomTwoLines = 0,   // "TWO LINES"
    kTelecomFourLines = 1,  // "FOUR LINES"
};

// --- Line bits (bit numbers of m_aulInjRetBit, the step's m_nInjRet) -----------------------

// AC: injection line - return line. On the single-phase configurations 0 and 1 bits 0, 3, 12
// and 13 are named "L - N", "N - L", "L - PE" and "N - PE".
enum AcLineBit : int32_t {
    kAcL1L2 = 0,
    kAcL1L3 = 1,
    kAcL1N = 2,
    kAcL2L1 = 3,
    kAcL2L3 = 4,
    kAcL2N = 5,
    kAcL3L1 = 6,
    kAcL3L2 = 7,
    kAcL3N = 8,
    kAcNL1 = 9,
    kAcNL2 = 10,
    kAcNL3 = 11,
    kAcL1PE = 12,
    kAcL2PE = 13,
    kAcL3PE = 14,
    kAcNPE = 15,
    kAcLNPE = 16,       // "L+N - PE"
    kAcL123N = 17,      // "L1+L2+L3 - N"
    kAcL123PE = 18,     // "L1+L2+L3 - PE"
    kAcL123NPE = 19,    // "L1+L2+L3+N - PE"
    kAcLineCount = 20,  // the AC page's boxes; bits 16 and up are the combined lines
    // The same bits under their single-phase names (configurations 0 and 1).
    kAcLN = kAcL1L2,
    kAcNL = kAcL2L1,
    kAcLPE = kAcL1PE,
    kAcNPEsingle = kAcL2PE,
};
enum DcLineBit : int32_t {
    kDcLinePlusMinus = 0,  // "+ - -"
    kDcLineMinusPlus = 1,  // "- - +"
    kDcLinePlusPE = 2,     // "+ - PE"
    kDcLineMinusPE = 3,    // "- - PE"
    kDcLineCount = 4,
};
constexpr int32_t kSurgeLineHotCom = 0;
enum TelecomLineBit : int32_t {
    kTelecomRet1 = 0,
    kTelecomRet2 = 1,
    kTelecomRet3 = 2,
    kTelecomRet4 = 3,
    kTelecomRetPE = 4,
    kTelecomLineCount = 5,
};

constexpr uint32_t LineBit(int32_t bit) {
    return 1u << bit;
}

// Line-to-line (NORMAL) and line-to-earth (COMMON) lines of the AC and DC ports.
constexpr uint32_t kAcNormalLines = 0xFFFu | LineBit(kAcL123N);
constexpr uint32_t kAcCommonLines = LineBit(kAcL1PE) | LineBit(kAcL2PE) | LineBit(kAcL3PE) |
                                    LineBit(kAcNPE) | LineBit(kAcLNPE) | LineBit(kAcL123PE) |
                                    LineBit(kAcL123NPE);
constexpr uint32_t kDcNormalLines = LineBit(kDcLinePlusMinus) | LineBit(kDcLineMinusPlus);
constexpr uint32_t kDcCommonLines = LineBit(kDcLinePlusPE) | LineBit(kDcLineMinusPE);

// The three-phase coupling unit, whose three-phase configurations add the combined lines 17 to
// 19. Like the telecom unit (kMachineTelecomUnit, which adds "L+N - PE" to "SINGLE PHASE L , N ,
// PE") it is an exact type: no other type with the same bits switches these lines.
constexpr uint32_t kMachineThreePhaseUnit = 0x400F;

}  // namespace zeb

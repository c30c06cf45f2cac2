#pragma once
// Display names of every code of a test condition, as ordered (name, code) tables. The order is
// the order in which lists and combo boxes show them (the AC line configurations list code 6
// before code 5). Names are the instrument's own texts, padding blanks included.

#include <QString>

#include <cstdint>

namespace zeb {

struct CodeName {
    const char* name;
    int32_t code;
};

struct NameTable {
    const CodeName* entries;
    int size;

    const CodeName* begin() const { return entries; }
    const CodeName* end() const { return entries + size; }
    // Name of the first entry with this code; a null (empty) string when the code is absent.
    QString Lookup(int32_t code) const;
    bool Contains(int32_t code) const;
};

namespace names {
extern const NameTable kOutputPort;  // 0 AC, 1 DC, 2 SURGE, 3 TELECOM
extern const NameTable kAcDetail;    // seven AC line configurations
extern const NameTable kDcDetail;
extern const NameTable kSurgeDetail;
extern const NameTable kTelecomDetail;
extern const NameTable kAcSinglePhaseLine;  // AC lines for configurations 0 and 1 (20 bits)
extern const NameTable kAcLine;             // AC lines for the other configurations (20 bits)
extern const NameTable kDcLine;             // 4 bits
extern const NameTable kSurgeLine;          // 1 bit
extern const NameTable kTelecomLine;        // 5 bits
extern const NameTable kTelecomLineUnit;    // 5 bits, machine type 0x400B
extern const NameTable kCoupling;           // AC and DC ports
extern const NameTable kTelecomImpedance;
extern const NameTable kTelecomImpedanceUnit;  // machine type 0x400B (no code 0)
extern const NameTable kWaveform;
extern const NameTable kRingImpedance;
extern const NameTable kSync;
extern const NameTable kPolarity;   // 0 "+", 1 "-", 2 "+/-"
extern const NameTable kValueType;  // tab names of the value entry pages
extern const NameTable kResult;     // judgement: 0 "------", 1 "FAIL", 2 "PASS"
}  // namespace names

// Line configuration table of an output port; nullptr for a port code outside 0..3.
const NameTable* OutputDetailTable(int32_t port);
// Injection-return line table of a port and line configuration; nullptr outside 0..3.
const NameTable* LineTable(int32_t port, int32_t detail, uint32_t machineType);
// Coupling (AC, DC) or impedance (telecom) table; nullptr for the other ports.
const NameTable* CouplingTable(int32_t port, uint32_t machineType);

}  // namespace zeb

#include "MachineModels.h"

namespace zeb {

namespace {
struct NameEntry {
    quint32 code;
    const char* name;
};
constexpr NameEntry kModelNames[] = {
    {0, "ZEB-M40A1A"},
    {1, "ZEB-M40C1"},
    {2, "ZEB-M40B1"},
    {4, "ZEB-M40A3A"},
    {5, "ZEB-M40C3"},
    {6, "ZEB-M40B3"},
    {8, "ZEB-M40A1A-ED3 / ZEB-M50A1"},
    {9, "ZEB-M40C1-ED3 / ZEB-M50C1"},
    {10, "ZEB-M40B1-ED3 / ZEB-M50B1"},
    {12, "ZEB-M40A3A-ED3 / ZEB-M50A3"},
    {13, "ZEB-M40C3-ED3 / ZEB-M50C3"},
    {14, "ZEB-M40B3-ED3 / ZEB-M50B3"},
    {0x400B, "ZEB-4170"},
    {0x400F, "ZEB-4170+CDN"},
};
constexpr const char* kUnknownModel = "ZEB-M40?? / ZEB-M50??";

// Tested in this order: the "-1" form contains the shorter family text and must win.
struct IdentEntry {
    const char* text;
    int code;
};
constexpr IdentEntry kIdentTexts[] = {
    {"BRAKMOOR, ZEB-M4-1", ident::kM40Later},
    {"BRAKMOOR, ZEB-M4", ident::kM40First},
    {"BRAKMOOR, ZEB-M5", ident::kM50},
};

constexpr int kChoiceWidth = 28;
}  // namespace

bool GetModelName(quint32 machineType, QString& name) {
    for (const NameEntry& e : kModelNames) {
        if (e.code == machineType) {
            name = QString::fromLatin1(e.name);
            return true;
        }
    }
    name = QString::fromLatin1(kUnknownModel);
    return false;
}

int IdentCodeOf(const QString& reply) {
    for (const IdentEntry& e : kIdentTexts) {
        if (reply.contains(QLatin1String(e.text))) {
            return e.code;
        }
    }
    return ident::kNone;
}

int HardwareVersionOf(int identCode) {
    return identCode == ident::kM40Later || identCode == ident::kM50 ? 1 : 0;
}

std::vector<MachineChoice> MachineSelectionList() {
    // Rows 6 and 8 carry two blanks before the slash, as the operator has always seen them.
    static const MachineChoice kRows[] = {
        {QStringLiteral("ZEB-M40A1A"), 0}, {QStringLiteral("ZEB-M40A1A-ED3 / ZEB-M50A1"), 8},
        {QStringLiteral("ZEB-M40A3A"), 4}, {QStringLiteral("ZEB-M40A3A-ED3 / ZEB-M50A3"), 12},
        {QStringLiteral("ZEB-M40C1"), 1},  {QStringLiteral("ZEB-M40C1-ED3  / ZEB-M50C1"), 9},
        {QStringLiteral("ZEB-M40C3"), 5},  {QStringLiteral("ZEB-M40C3-ED3  / ZEB-M50C3"), 13},
    };
    std::vector<MachineChoice> rows;
    for (const MachineChoice& row : kRows) {
        rows.push_back({row.text.leftJustified(kChoiceWidth, QLatin1Char(' ')), row.code});
    }
    return rows;
}

}  // namespace zeb

#pragma once
// The instrument family as a machine type code: a bit field naming the model. It decides what
// every other part of the program offers (ports, waveforms, limits, step parameters).

#include <QString>
#include <QtGlobal>

#include <vector>

namespace zeb {

// Bits of the machine type code beyond those the model defines (coupling unit, three-phase).
namespace machine {
constexpr quint32 kVariantMask = 0x0003;  // 0 "A" models, 1 "C" models, 2 "B" models
constexpr quint32 kEdition3 = 0x0008;     // edition-3 hardware, also the ZEB-M50 models
}  // namespace machine

// Identification codes: high byte the family (1 ZEB-M40, 2 ZEB-M50), low byte the revision.
namespace ident {
constexpr int kNone = 0;
constexpr int kM40First = 0x101;
constexpr int kM40Later = 0x102;
constexpr int kM50 = 0x202;
}  // namespace ident

// Name of a model; a code not in the table gives "ZEB-M40?? / ZEB-M50??" and false.
bool GetModelName(quint32 machineType, QString& name);

// Identification code contained in an answer to "QA"; 0 when it names no known instrument.
int IdentCodeOf(const QString& reply);
// Hardware version of an identified instrument: 1 for the later revisions, else 0.
int HardwareVersionOf(int identCode);

// One row of the list from which the operator picks a model when no instrument answered.
struct MachineChoice {
    QString text;  // padded with blanks to 28 characters
    quint32 code;
};
// The eight models that can be chosen by hand, in the order they are offered.
std::vector<MachineChoice> MachineSelectionList();

}  // namespace zeb

#pragma once
// A choice list of the editor: (display text, code) pairs in the order a combo box shows them.
// A combo stores the code of its selected item; opening it on a code picks the first item with
// that code, or the first item when no item has it.

#include <QString>

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "NameTables.h"

namespace zeb {

struct Choice {
    QString text;
    int32_t code = 0;
    bool operator==(const Choice& o) const { return text == o.text && code == o.code; }
};
using ChoiceList = std::vector<Choice>;

// The entries of `table` with these codes, in the order given.
ChoiceList ChoicesOf(const NameTable& table, std::initializer_list<int32_t> codes);
// Every entry of `table`, in table order.
ChoiceList ChoicesOf(const NameTable& table);
// Index of the first choice with this code; 0 when none has it, -1 for an empty list.
int IndexOfCode(const ChoiceList& list, int32_t code);

}  // namespace zeb

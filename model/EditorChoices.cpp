#include "EditorChoices.h"

namespace zeb {

ChoiceList ChoicesOf(const NameTable& table, std::initializer_list<int32_t> codes) {
    ChoiceList list;
    for (int32_t code : codes) {
        list.push_back({table.Lookup(code), code});
    }
    return list;
}

ChoiceList ChoicesOf(const NameTable& table) {
    ChoiceList list;
    for (const CodeName& entry : table) {
        list.push_back({QString::fromLatin1(entry.name), entry.code});
    }
    return list;
}

int IndexOfCode(const ChoiceList& list, int32_t code) {
    if (list.empty()) {
        return -1;
    }
    for (size_t i = 0; i < list.size(); ++i) {
        if (list[i].code == code) {
            return int(i);
        }
    }
    return 0;
}

}  // namespace zeb

#pragma once
// The codes of a choice list in order, so a test can compare a whole list in one line.

#include <cstdint>
#include <vector>

#include "EditorChoices.h"

namespace zeb::test {

using Codes_t = std::vector<int32_t>;

inline Codes_t Codes(const ChoiceList& list) {
    Codes_t codes;
    for (const Choice& c : list) {
        codes.push_back(c.code);
    }
    return codes;
}

}  // namespace zeb::test

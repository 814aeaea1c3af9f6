#pragma once

#include <cstdint>
#include <string_view>

// A node of the member-name index: a member's name and its position. The
// name's units belong to the tree that holds the node.
struct TQvBalNode {
    TQvBalNode* Left = nullptr;
    TQvBalNode* Right = nullptr;
    uint8_t Level = 0;
    int32_t Key = 0;
    std::u16string_view NodeName;
    // The name's first four units, the first in the top bits, missing ones
    // as 0: where two heads differ, they order the names as the names
    // themselves would, without a look at the units.
    uint64_t NameHead = 0;
};

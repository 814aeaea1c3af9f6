#pragma once

#include <cstdint>
#include <string>

// A node of the member-name index: a member's name and its position.
struct TQvBalNode {
    TQvBalNode* Left = nullptr;
    TQvBalNode* Right = nullptr;
    uint8_t Level = 0;
    int32_t Key = 0;
    std::u16string NodeName;
};

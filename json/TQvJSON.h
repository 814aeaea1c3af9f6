#pragma once

#include "json/TQvJSONbase.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

// The text parser. Holds class-level operations only.
class TQvJSON {
public:
    // Containers nested deeper than this make the document none.
    static constexpr int MaxNestingDepth = 512;

    // The value tree of the first JSON value in the bytes (a UTF-8 byte-order
    // mark is skipped, text after the value is ignored), or none. Never raises.
    // Values borrowed from the tree live as long as any share of the root.
    static std::shared_ptr<TQvJSONbase> ParseDocument(std::span<const uint8_t> text);
    static std::shared_ptr<TQvJSONbase> ParseDocument(std::string_view text);

    TQvJSON() = delete;
};

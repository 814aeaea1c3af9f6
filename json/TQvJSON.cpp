#include "json/TQvJSON.h"

#include "json/DocumentArena.h"
#include "json/DocumentParser.h"

#include <algorithm>

std::shared_ptr<TQvJSONbase> TQvJSON::ParseDocument(std::span<const uint8_t> text)
{
    try {
        size_t position = 0;
        static constexpr uint8_t byte_order_mark[] = {0xEF, 0xBB, 0xBF};
        if (text.size() >= 3 && std::equal(text.begin(), text.begin() + 3, byte_order_mark))
            position = 3;
        // A document takes about four times its text; the shares of the root
        // and of values inside it all keep the arena alive.
        auto arena = std::make_shared<DocumentArena>(text.size() * 4);
        DocumentParser parser(text, *arena);
        TQvJSONbase* root = parser.ParseValue(position, 0);
        if (!root)
            return nullptr;
        return std::shared_ptr<TQvJSONbase>(std::move(arena), root);
    } catch (...) {
        // Bad escapes, numbers out of range, nesting too deep, no memory:
        // whatever was built goes with the arena.
        return nullptr;
    }
}

std::shared_ptr<TQvJSONbase> TQvJSON::ParseDocument(std::string_view text)
{
    return ParseDocument(std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

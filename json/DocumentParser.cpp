// The parser's entry rule, which picks a rule by the first byte, and the literals.
#include "json/DocumentParser.h"

#include "json/DocumentArena.h"
#include "json/TQvJSONboolean.h"
#include "json/TQvJSONnull.h"

DocumentParser::DocumentParser(std::span<const uint8_t> text, DocumentArena& arena) : text_(text), arena_(arena)
{
    pending_.reserve(256);
}

TQvJSONbase* DocumentParser::ParseValue(size_t& position, int depth)
{
    size_t p = position;
    SkipBlanks(p);
    if (p >= text_.size())
        return nullptr;
    // Each rule can only succeed on its own first byte, so trying them in
    // order is the same as choosing by that byte.
    TQvJSONbase* value = nullptr;
    switch (text_[p]) {
    case 't':
    case 'f':
        value = ParseBooleanLiteral(p);
        break;
    case 'n':
        value = ParseNullLiteral(p);
        break;
    case '"':
        value = ParseString(p);
        break;
    case '[':
        value = ParseList(p, depth);
        break;
    case '{':
        value = ParseObject(p, depth);
        break;
    default:
        value = ParseNumber(p);
        break;
    }
    if (value)
        position = p;
    return value;
}

TQvJSONbase* DocumentParser::ParseBooleanLiteral(size_t& position) const
{
    if (StartsWith(position, "true")) {
        position += 4;
        return arena_.Make<TQvJSONboolean>(true);
    }
    if (StartsWith(position, "false")) {
        position += 5;
        return arena_.Make<TQvJSONboolean>(false);
    }
    return nullptr;
}

TQvJSONbase* DocumentParser::ParseNullLiteral(size_t& position) const
{
    if (!StartsWith(position, "null"))
        return nullptr;
    position += 4;
    return arena_.Make<TQvJSONnull>();
}

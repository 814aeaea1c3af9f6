#include "json/DocumentParser.h"

#include "json/DocumentArena.h"

#include "base/Exception.h"
#include "base/IntegerText.h"
#include "json/NumberText.h"
#include "json/StringDecoding.h"
#include "json/TQvJSON.h"
#include "json/TQvJSONboolean.h"
#include "json/TQvJSONlist.h"
#include "json/TQvJSONnull.h"
#include "json/TQvJSONnumber.h"
#include "json/TQvJSONobject.h"
#include "json/TQvJSONobjectmethod.h"
#include "json/TQvJSONstring.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstring>
#include <limits>
#include <new>

namespace {

// A parse that cannot go on; never leaves ParseDocument.
class EParseAbandoned : public Exception {
public:
    using Exception::Exception;
    const char* ClassName() const noexcept override { return "EParseAbandoned"; }

    static EParseAbandoned NumberOutOfRange(std::string_view text)
    {
        return EParseAbandoned("'" + std::string(text) + "' is not a valid floating point value");
    }
    static EParseAbandoned NestingTooDeep()
    {
        return EParseAbandoned("nesting deeper than " + IntToStr(TQvJSON::MaxNestingDepth));
    }
};

bool is_digit(uint8_t c) { return c >= '0' && c <= '9'; }

// Moves past bytes that are neither a quote nor a backslash, eight at a time
// where it can; `seen` gets bit 80 hex when a byte passed had it.
size_t skip_plain_bytes(const uint8_t* bytes, size_t p, size_t size, uint8_t& seen)
{
    constexpr uint64_t ones = 0x0101010101010101ULL;
    constexpr uint64_t highs = 0x8080808080808080ULL;
    if constexpr (std::endian::native == std::endian::little) {
        // p may already lie past the end when a backslash was the last byte.
        while (p < size && size - p >= 8) {
            uint64_t word;
            std::memcpy(&word, bytes + p, 8);
            uint64_t quote = word ^ (ones * '"');
            uint64_t backslash = word ^ (ones * '\\');
            // The lowest byte flagged here is the first quote or backslash
            // (flags above a true match can be false, the lowest cannot).
            uint64_t found = (((quote - ones) & ~quote) | ((backslash - ones) & ~backslash)) & highs;
            if (found) {
                int before = std::countr_zero(found) / 8;
                if (word & highs & ((uint64_t{1} << (8 * before)) - 1))
                    seen |= 0x80;
                return p + static_cast<size_t>(before);
            }
            if (word & highs)
                seen |= 0x80;
            p += 8;
        }
    }
    while (p < size && bytes[p] != '"' && bytes[p] != '\\')
        seen |= bytes[p++];
    return p;
}

void append_widened(std::u16string& out, const uint8_t* bytes, size_t count)
{
    size_t old = out.size();
    out.resize(old + count);
    char16_t* dst = out.data() + old;
    for (size_t i = 0; i < count; ++i)
        dst[i] = bytes[i];
}

bool is_hex_digit(uint8_t c) { return (c >= '0' && c <= '9') || ((c | 0x20) >= 'a' && (c | 0x20) <= 'f'); }

bool is_hex4(const uint8_t* digits)
{
    return is_hex_digit(digits[0]) && is_hex_digit(digits[1]) && is_hex_digit(digits[2]) && is_hex_digit(digits[3]);
}

unsigned hex4(const uint8_t* digits)
{
    unsigned unit = 0;
    for (int k = 0; k < 4; ++k) {
        uint8_t c = digits[k];
        unit = unit * 16 + (c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10u);
    }
    return unit;
}

// Digits alone, at most 18 of them after an optional sign: exact in the
// extended format, so reading them directly gives what the general
// conversion would.
bool small_integer(std::string_view number, long double& value)
{
    size_t i = number[0] == '-' || number[0] == '+' ? 1 : 0;
    if (number.size() - i > 18)
        return false;
    uint64_t digits = 0;
    for (size_t k = i; k < number.size(); ++k) {
        if (!is_digit(static_cast<uint8_t>(number[k])))
            return false;
        digits = digits * 10 + static_cast<uint64_t>(number[k] - '0');
    }
    value = static_cast<long double>(digits);
    if (number[0] == '-')
        value = -value;
    return true;
}

} // namespace

DocumentParser::DocumentParser(std::span<const uint8_t> text, DocumentArena& arena) : text_(text), arena_(arena)
{
    pending_.reserve(256);
}

void DocumentParser::SkipBlanks(size_t& position) const
{
    while (position < text_.size() && text_[position] < 33)
        ++position;
}

bool DocumentParser::StartsWith(size_t position, std::string_view literal) const
{
    return text_.size() - position >= literal.size() &&
           std::memcmp(text_.data() + position, literal.data(), literal.size()) == 0;
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

bool DocumentParser::ParseDigits(size_t& position) const
{
    size_t p = position;
    while (p < text_.size() && is_digit(text_[p]))
        ++p;
    if (p == position)
        return false;
    position = p;
    return true;
}

TQvJSONbase* DocumentParser::ParseNumber(size_t& position) const
{
    size_t p = position;
    if (p < text_.size() && (text_[p] == '+' || text_[p] == '-'))
        ++p;
    if (!ParseDigits(p))
        return nullptr;
    if (p < text_.size() && text_[p] == '.') {
        ++p;
        if (!ParseDigits(p))
            return nullptr;
    }
    if (p < text_.size() && (text_[p] == 'e' || text_[p] == 'E')) {
        ++p;
        if (p < text_.size() && (text_[p] == '+' || text_[p] == '-'))
            ++p;
        if (!ParseDigits(p))
            return nullptr;
    }
    std::string_view number(reinterpret_cast<const char*>(text_.data() + position), p - position);
    long double value = 0;
    if (!small_integer(number, value) && NumberTextToExtended(number, value) != NumberTextResult::Ok)
        throw EParseAbandoned::NumberOutOfRange(number);
    position = p;
    return arena_.Make<TQvJSONnumber>(value);
}

bool DocumentParser::ParseStringText(size_t& position, std::u16string_view& text)
{
    size_t p = position;
    if (p >= text_.size() || text_[p] != '"')
        return false;
    const size_t start = ++p;
    const uint8_t* bytes = text_.data();
    const size_t size = text_.size();
    uint8_t seen = 0;
    bool escaped = false;
    // While the content is ASCII with whole escapes, it is decoded as it is
    // scanned: every escape then stands for exactly one unit.
    bool decoding = true;
    size_t run = start;
    decoded_.clear();
    for (;;) {
        p = skip_plain_bytes(bytes, p, size, seen);
        if (p >= size)
            return false;
        if (bytes[p] == '"')
            break;
        // A backslash: the byte after it never ends the string, a quote included.
        escaped = true;
        if (p + 1 >= size)
            return false;
        decoding = decoding && (seen & 0x80) == 0;
        if (decoding) {
            append_widened(decoded_, bytes + run, p - run);
            uint8_t letter = bytes[p + 1];
            if (letter != 'u') {
                if (int byte = EscapedByte(letter); byte >= 0)
                    decoded_ += static_cast<char16_t>(byte);
            } else if (size - p >= 6 && is_hex4(bytes + p + 2)) {
                // Hexadecimal digits are neither quotes nor backslashes, so
                // scanning on after them is scanning on after the letter.
                decoded_ += static_cast<char16_t>(hex4(bytes + p + 2));
                p += 4;
            } else {
                decoding = false; // short or bad digits: the general path decides
            }
            run = p + 2;
        }
        p += 2;
    }
    std::span<const uint8_t> raw = text_.subspan(start, p - start);
    const bool ascii = (seen & 0x80) == 0;
    if (!escaped && ascii) {
        char16_t* units = arena_.AllocateUnits(raw.size());
        for (size_t i = 0; i < raw.size(); ++i)
            units[i] = raw[i];
        text = std::u16string_view(units, raw.size());
    } else if (escaped && ascii && decoding) {
        append_widened(decoded_, bytes + run, p - run);
        text = Keep(decoded_);
    } else {
        if (!escaped) {
            Utf8ToWide(raw, decoded_);
        } else if (ascii) {
            ExpandAsciiEscapesToWide(raw, decoded_);
        } else {
            ExpandEscapes(raw, expanded_);
            Utf8ToWide(std::span(reinterpret_cast<const uint8_t*>(expanded_.data()), expanded_.size()), decoded_);
        }
        text = Keep(decoded_);
    }
    position = p + 1;
    return true;
}

TQvJSONbase* DocumentParser::ParseString(size_t& position)
{
    std::u16string_view text;
    if (!ParseStringText(position, text))
        return nullptr;
    auto* string = arena_.Make<TQvJSONstring>();
    string->units_ = text.data();
    string->size_ = text.size();
    return string;
}

TQvJSONbase* DocumentParser::ParseList(size_t& position, int depth)
{
    size_t p = position;
    if (p >= text_.size() || text_[p] != '[')
        return nullptr;
    if (depth >= TQvJSON::MaxNestingDepth)
        throw EParseAbandoned::NestingTooDeep();
    ++p;
    const size_t first = pending_.size();
    // Commas are optional between elements, and one may follow the last.
    while (TQvJSONbase* element = ParseValue(p, depth + 1)) {
        pending_.push_back(element);
        SkipBlanks(p);
        if (p < text_.size() && text_[p] == ',')
            ++p;
    }
    SkipBlanks(p);
    if (p >= text_.size() || text_[p] != ']') {
        pending_.resize(first);
        return nullptr;
    }
    auto* list = arena_.Make<TQvJSONlist>();
    MoveChildren(*list, first);
    position = p + 1;
    return list;
}

TQvJSONbase* DocumentParser::ParsePair(size_t& position, int depth)
{
    size_t p = position;
    SkipBlanks(p);
    std::u16string_view name;
    if (!ParseStringText(p, name))
        return nullptr;
    SkipBlanks(p);
    if (p >= text_.size() || text_[p] != ':')
        return nullptr;
    ++p;
    TQvJSONbase* value = ParseValue(p, depth);
    if (!value)
        return nullptr;
    position = p;
    auto* pair = arena_.Make<TQvJSONobjectmethod>();
    pair->name_ = name.data();
    pair->nameSize_ = name.size();
    pair->value_ = value;
    return pair;
}

TQvJSONbase* DocumentParser::ParseObject(size_t& position, int depth)
{
    size_t p = position;
    if (p >= text_.size() || text_[p] != '{')
        return nullptr;
    if (depth >= TQvJSON::MaxNestingDepth)
        throw EParseAbandoned::NestingTooDeep();
    ++p;
    const size_t first = pending_.size();
    while (TQvJSONbase* pair = ParsePair(p, depth + 1)) {
        pending_.push_back(pair);
        SkipBlanks(p);
        if (p < text_.size() && text_[p] == ',')
            ++p;
    }
    SkipBlanks(p);
    if (p >= text_.size() || text_[p] != '}') {
        pending_.resize(first);
        return nullptr;
    }
    auto* object = arena_.Make<TQvJSONobject>(TQvJSONobject::NameLookup::Indexed, &arena_);
    IndexMembers(*object, first);
    MoveChildren(*object, first);
    object->onlyPairs_ = true;
    position = p + 1;
    return object;
}

void DocumentParser::IndexMembers(TQvJSONobject& object, size_t first)
{
    const size_t count = pending_.size() - first;
    names_.clear();
    for (size_t i = first; i < pending_.size(); ++i)
        names_.push_back(static_cast<const TQvJSONobjectmethod*>(pending_[i])->PairName());
    // The objects of a list mostly repeat the names of the one before them:
    // then the index takes the same shape as that one's.
    if (lastIndexed_ && count == lastNames_.size() && std::equal(names_.begin(), names_.end(), lastNames_.begin())) {
        object.NameIndex().CopyShape(lastIndexed_->NameIndex(), names_);
    } else {
        // The index keeps the first position of a name; a repeat is not
        // inserted. Names live in the arena as long as the index.
        for (size_t i = 0; i < count; ++i)
            object.NameIndex().InsertLasting(names_[i], static_cast<int32_t>(i));
    }
    lastIndexed_ = &object;
    lastNames_.swap(names_);
}

std::u16string_view DocumentParser::Keep(std::u16string_view units) const
{
    char16_t* kept = arena_.AllocateUnits(units.size());
    std::copy(units.begin(), units.end(), kept);
    return {kept, units.size()};
}

void DocumentParser::MoveChildren(TQvJSONcustomlist& container, size_t first)
{
    // Sized to the container once it is complete.
    const size_t count = pending_.size() - first;
    if (count > static_cast<size_t>(std::numeric_limits<int32_t>::max()))
        throw std::bad_alloc();
    if (count > 0) {
        auto** children =
            static_cast<TQvJSONbase**>(arena_.Allocate(count * sizeof(TQvJSONbase*), alignof(TQvJSONbase*)));
        std::copy(pending_.begin() + static_cast<std::ptrdiff_t>(first), pending_.end(), children);
        container.children_ = children;
        container.count_ = static_cast<int32_t>(count);
        container.capacity_ = static_cast<int32_t>(count);
    }
    pending_.resize(first);
}

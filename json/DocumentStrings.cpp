// The parser's string rule: quoted text decoded into the document's arena.
#include "json/DocumentParser.h"

#include "json/DocumentArena.h"
#include "json/StringDecoding.h"
#include "json/TQvJSONstring.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string>

namespace {

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

} // namespace

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

std::u16string_view DocumentParser::Keep(std::u16string_view units) const
{
    char16_t* kept = arena_.AllocateUnits(units.size());
    std::copy(units.begin(), units.end(), kept);
    return {kept, units.size()};
}

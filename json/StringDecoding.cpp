#include "json/StringDecoding.h"

#include "base/ConvertErrors.h"

#include <algorithm>

namespace {

// The value of a hexadecimal digit, -1 for any other byte.
constexpr auto hex_values = [] {
    struct Table {
        int8_t values[256];
    } table{};
    for (int c = 0; c < 256; ++c)
        table.values[c] = -1;
    for (int c = '0'; c <= '9'; ++c)
        table.values[c] = static_cast<int8_t>(c - '0');
    for (int c = 'a'; c <= 'f'; ++c) {
        table.values[c] = static_cast<int8_t>(c - 'a' + 10);
        table.values[c - 32] = static_cast<int8_t>(c - 'a' + 10);
    }
    return table;
}();

int hex_value(uint8_t c) { return hex_values.values[c]; }

bool is_continuation(uint8_t c) { return (c & 0xC0) == 0x80; }

// The up to four hexadecimal digits after "\u" at `i`; moves `i` past them.
uint16_t read_escaped_unit(std::span<const uint8_t> raw, size_t& i)
{
    size_t count = std::min<size_t>(4, raw.size() - i);
    unsigned unit = 0;
    int invalid = count == 0 ? -1 : 0;
    for (size_t k = 0; k < count; ++k) {
        int digit = hex_value(raw[i + k]);
        invalid |= digit;
        unit = unit * 16 + static_cast<unsigned>(digit & 15);
    }
    if (invalid < 0)
        throw EConvertError::NotAnInteger("$" + std::string(reinterpret_cast<const char*>(raw.data() + i), count));
    i += count;
    return static_cast<uint16_t>(unit);
}

} // namespace

int EscapedByte(uint8_t letter)
{
    switch (letter) {
    case '"':
    case '\'':
    case '/':
    case '\\':
        return letter;
    case 'b':
        return '\b';
    case 'f':
        return '\f';
    case 'n':
        return '\n';
    case 'r':
        return '\r';
    case 't':
        return '\t';
    default:
        return -1;
    }
}

namespace {

// Writes the UTF-8 bytes of one unit at `out`; gives the byte after them.
char* put_utf8(uint16_t unit, char* out)
{
    if (unit < 0x80) {
        *out++ = static_cast<char>(unit);
    } else if (unit < 0x800) {
        *out++ = static_cast<char>(0xC0 | (unit >> 6));
        *out++ = static_cast<char>(0x80 | (unit & 0x3F));
    } else {
        *out++ = static_cast<char>(0xE0 | (unit >> 12));
        *out++ = static_cast<char>(0x80 | ((unit >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (unit & 0x3F));
    }
    return out;
}

} // namespace

void CodeUnitToUtf8(uint16_t unit, std::string& out)
{
    char bytes[3];
    out.append(bytes, static_cast<size_t>(put_utf8(unit, bytes) - bytes));
}

namespace {

// Expands the escapes of raw into out, one character type or the other;
// put_unit writes what a \uXXXX escape gives. Every escape is at least as
// long as what it gives (\uXXXX: six bytes for at most three), so the output
// never outgrows the input.
template <class Char, class PutUnit>
void expand_escapes(std::span<const uint8_t> raw, std::basic_string<Char>& out, PutUnit put_unit)
{
    out.resize(raw.size());
    Char* const begin = out.data();
    Char* dst = begin;
    const size_t n = raw.size();
    size_t i = 0;
    while (i < n) {
        uint8_t c = raw[i];
        if (c != '\\') {
            *dst++ = static_cast<Char>(c);
            ++i;
            continue;
        }
        if (i + 1 >= n) {
            // A lone backslash at the very end has no letter; it drops out.
            ++i;
            continue;
        }
        uint8_t letter = raw[i + 1];
        i += 2;
        if (letter == 'u') {
            dst = put_unit(read_escaped_unit(raw, i), dst);
        } else if (int byte = EscapedByte(letter); byte >= 0) {
            *dst++ = static_cast<Char>(byte);
        }
    }
    out.resize(static_cast<size_t>(dst - begin));
}

} // namespace

void ExpandEscapes(std::span<const uint8_t> raw, std::string& out)
{
    expand_escapes(raw, out, put_utf8);
}

void ExpandAsciiEscapesToWide(std::span<const uint8_t> raw, std::u16string& out)
{
    expand_escapes(raw, out, [](uint16_t unit, char16_t* dst) {
        *dst++ = unit;
        return dst;
    });
}

// One unit per sequence (two for a four-byte one), so the output has at most
// as many units as the input has bytes.
void Utf8ToWide(std::span<const uint8_t> bytes, std::u16string& out)
{
    out.resize(bytes.size());
    char16_t* const begin = out.data();
    char16_t* dst = begin;
    const size_t n = bytes.size();
    size_t i = 0;
    while (i < n) {
        uint8_t b = bytes[i++];
        if (b < 0x80) {
            *dst++ = static_cast<char16_t>(b);
            continue;
        }
        // F0 to F4 with three continuation bytes: a character beyond the 16-bit
        // range, written as a surrogate pair (an over-long form as one unit).
        if (b >= 0xF0 && b <= 0xF4 && i + 2 < n && is_continuation(bytes[i]) && is_continuation(bytes[i + 1]) &&
            is_continuation(bytes[i + 2])) {
            const uint32_t code = ((b & 0x07u) << 18) | ((bytes[i] & 0x3Fu) << 12) | ((bytes[i + 1] & 0x3Fu) << 6) |
                                  (bytes[i + 2] & 0x3Fu);
            i += 3;
            if (code > 0x10FFFF) {
                out.clear();
                return;
            }
            if (code < 0x10000) {
                *dst++ = static_cast<char16_t>(code);
            } else {
                *dst++ = static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
                *dst++ = static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
            }
            continue;
        }
        // Any other lead byte is taken; bit 20 hex of its low six bits asks for
        // a three-byte sequence.
        uint32_t w = b & 0x3Fu;
        if (w & 0x20u) {
            if (i + 1 >= n || !is_continuation(bytes[i])) {
                out.clear();
                return;
            }
            w = (w << 6) | (bytes[i++] & 0x3Fu);
        }
        if (i >= n || !is_continuation(bytes[i])) {
            out.clear();
            return;
        }
        w = (w << 6) | (bytes[i++] & 0x3Fu);
        *dst++ = static_cast<char16_t>(w & 0xFFFFu);
    }
    out.resize(static_cast<size_t>(dst - begin));
}

#include "json/StringDecoding.h"

#include "base/ConvertErrors.h"

#include <algorithm>

namespace {

int hex_value(uint8_t c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool is_continuation(uint8_t c) { return (c & 0xC0) == 0x80; }

} // namespace

void CodeUnitToUtf8(uint16_t unit, std::string& out)
{
    if (unit < 0x80) {
        out += static_cast<char>(unit);
    } else if (unit < 0x800) {
        out += static_cast<char>(0xC0 | (unit >> 6));
        out += static_cast<char>(0x80 | (unit & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (unit >> 12));
        out += static_cast<char>(0x80 | ((unit >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (unit & 0x3F));
    }
}

void ExpandEscapes(std::span<const uint8_t> raw, std::string& out)
{
    out.clear();
    out.reserve(raw.size());
    size_t i = 0;
    while (i < raw.size()) {
        uint8_t c = raw[i];
        if (c != '\\') {
            out += static_cast<char>(c);
            ++i;
            continue;
        }
        if (i + 1 >= raw.size()) {
            // A lone backslash at the very end has no letter; it drops out.
            ++i;
            continue;
        }
        uint8_t letter = raw[i + 1];
        i += 2;
        switch (letter) {
        case '"':
        case '\'':
        case '/':
        case '\\':
            out += static_cast<char>(letter);
            break;
        case 'b':
            out += '\b';
            break;
        case 'f':
            out += '\f';
            break;
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        case 't':
            out += '\t';
            break;
        case 'u': {
            size_t count = std::min<size_t>(4, raw.size() - i);
            int unit = 0;
            bool valid = count > 0;
            for (size_t k = 0; k < count; ++k) {
                int digit = hex_value(raw[i + k]);
                if (digit < 0)
                    valid = false;
                unit = unit * 16 + (digit < 0 ? 0 : digit);
            }
            if (!valid)
                throw EConvertError::NotAnInteger(
                    "$" + std::string(reinterpret_cast<const char*>(raw.data() + i), count));
            CodeUnitToUtf8(static_cast<uint16_t>(unit), out);
            i += count;
            break;
        }
        default:
            break;
        }
    }
}

void Utf8ToWide(std::span<const uint8_t> bytes, std::u16string& out)
{
    out.clear();
    out.reserve(bytes.size());
    const size_t n = bytes.size();
    size_t i = 0;
    while (i < n) {
        uint8_t b = bytes[i++];
        if (b < 0x80) {
            out += static_cast<char16_t>(b);
            continue;
        }
        // Any lead byte is taken; bit 20 hex of its low six bits asks for a
        // three-byte sequence.
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
        out += static_cast<char16_t>(w & 0xFFFFu);
    }
}

#include "platform/windows/WideText.h"

#include <windows.h>

namespace {

bool is_continuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// The code point at text[i..] when it is well-formed UTF-8 (no overlong
// form, no surrogate, nothing above U+10FFFF), with its length; 0 otherwise.
size_t decode_well_formed(std::string_view text, size_t i, char32_t& code)
{
    const auto at = [&](size_t k) { return static_cast<unsigned char>(text[i + k]); };
    const unsigned char lead = at(0);
    size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // range of the second byte
    if (lead < 0x80) {
        code = lead;
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0F;
        if (lead == 0xE0)
            low = 0xA0;
        else if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07;
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (i + length > text.size() || at(1) < low || at(1) > high)
        return 0;
    for (size_t k = 1; k < length; ++k) {
        if (!is_continuation(at(k)))
            return 0;
        code = (code << 6) | (at(k) & 0x3F);
    }
    return length;
}

// Bytes a malformed sequence at text[i..] takes.
size_t malformed_length(std::string_view text, size_t i)
{
    const auto lead = static_cast<unsigned char>(text[i]);
    const size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    size_t n = 1;
    while (n < length && i + n < text.size() && is_continuation(static_cast<unsigned char>(text[i + n])))
        ++n;
    return n;
}

} // namespace

std::wstring WideFromUtf8(std::string_view utf8)
{
    if (utf8.empty())
        return {};
    const int count = static_cast<int>(utf8.size());
    const int size = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), count, nullptr, 0);
    std::wstring wide(static_cast<size_t>(size > 0 ? size : 0), L'\0');
    if (size > 0)
        ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), count, wide.data(), size);
    return wide;
}

std::string Utf8FromWide(std::wstring_view wide)
{
    if (wide.empty())
        return {};
    const int count = static_cast<int>(wide.size());
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), count, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(size > 0 ? size : 0), '\0');
    if (size > 0)
        ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), count, utf8.data(), size, nullptr, nullptr);
    return utf8;
}

std::u16string Utf8ToWideMarked(std::string_view utf8)
{
    std::u16string wide;
    wide.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        char32_t code = 0;
        if (size_t length = decode_well_formed(utf8, i, code); length > 0) {
            if (code >= 0x10000) {
                code -= 0x10000;
                wide += static_cast<char16_t>(0xD800 + (code >> 10));
                wide += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
            } else {
                wide += static_cast<char16_t>(code);
            }
            i += length;
        } else {
            wide += static_cast<char16_t>(0xD800);
            i += malformed_length(utf8, i);
        }
    }
    return wide;
}

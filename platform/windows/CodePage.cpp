#include "platform/CodePage.h"

#include "platform/windows/WideText.h"

#include <windows.h>

#include <algorithm>

// Code page 936 is named, never the thread's ANSI code page, so the program's
// GBK texts mean the same on a Windows of any language. The results match the
// C library's CP936 converter of the POSIX build byte for byte: the
// user-defined area (Private Use Area characters on the wide side), which it
// lacks, counts as not representable, a character the code page lacks is one
// "?" even when it takes a surrogate pair, and tag characters vanish.

namespace {

constexpr UINT kCodePage = 936;

bool is_private_use(char16_t unit)
{
    return unit >= 0xE000 && unit <= 0xF8FF;
}

bool is_high_surrogate(char16_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool is_low_surrogate(char16_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// U+E0000 to U+E007F, which the C library's converters drop without a trace.
bool is_tag_character(char16_t high, char16_t low)
{
    return high == 0xDB40 && low <= 0xDC7F;
}

bool is_ascii(std::u16string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char16_t c) { return c < 0x80; });
}

bool is_ascii(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Wide text to the code page; the text is taken whole, unit 0 included.
std::string to_code_page(std::u16string_view wide)
{
    if (is_ascii(wide))
        return std::string(wide.begin(), wide.end());
    // A lone surrogate is never representable: it stands for every character
    // that must become exactly one "?".
    constexpr char16_t kUnrepresentable = 0xD800;
    std::u16string prepared;
    prepared.reserve(wide.size());
    for (size_t i = 0; i < wide.size(); ++i) {
        const char16_t unit = wide[i];
        if (is_high_surrogate(unit) && i + 1 < wide.size() && is_low_surrogate(wide[i + 1])) {
            if (!is_tag_character(unit, wide[i + 1]))
                prepared += kUnrepresentable;
            ++i;
        } else {
            prepared += is_private_use(unit) ? kUnrepresentable : unit;
        }
    }
    const auto* units = reinterpret_cast<const wchar_t*>(prepared.data());
    const int count = static_cast<int>(prepared.size());
    // No best fit: a character without its own code is "?", never a look-alike.
    const DWORD flags = WC_NO_BEST_FIT_CHARS;
    const int size = ::WideCharToMultiByte(kCodePage, flags, units, count, nullptr, 0, "?", nullptr);
    std::string out(static_cast<size_t>(std::max(size, 0)), '\0');
    if (size > 0)
        ::WideCharToMultiByte(kCodePage, flags, units, count, out.data(), size, "?", nullptr);
    return out;
}

// One character of the code page at bytes[0..length): its unit, or 0 when
// the bytes are not one character the POSIX converter knows.
char16_t decode_one(const char* bytes, int length)
{
    wchar_t unit = 0;
    if (::MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, bytes, length, &unit, 1) != 1)
        return 0;
    return is_private_use(static_cast<char16_t>(unit)) ? 0 : static_cast<char16_t>(unit);
}

bool has_private_use(std::u16string_view text)
{
    return std::any_of(text.begin(), text.end(), is_private_use);
}

} // namespace

std::string WideToAnsi(std::u16string_view wide)
{
    return to_code_page(wide.substr(0, wide.find(u'\0')));
}

std::u16string AnsiToWide(std::string_view ansi)
{
    if (is_ascii(ansi))
        return std::u16string(ansi.begin(), ansi.end());
    // Well-formed text converts in one call.
    const int count = static_cast<int>(ansi.size());
    const int size = ::MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, ansi.data(), count, nullptr, 0);
    if (size > 0) {
        std::u16string wide(static_cast<size_t>(size), u'\0');
        ::MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, ansi.data(), count,
                              reinterpret_cast<wchar_t*>(wide.data()), size);
        if (!has_private_use(wide))
            return wide;
    }
    // Otherwise character by character: a byte that does not start a
    // character becomes "?" and is skipped alone.
    std::u16string wide;
    wide.reserve(ansi.size());
    for (size_t i = 0; i < ansi.size();) {
        const auto byte = static_cast<unsigned char>(ansi[i]);
        if (byte < 0x80) {
            wide += static_cast<char16_t>(byte);
            ++i;
            continue;
        }
        char16_t unit = decode_one(ansi.data() + i, 1);
        size_t length = 1;
        if (unit == 0 && i + 1 < ansi.size()) {
            unit = decode_one(ansi.data() + i, 2);
            length = 2;
        }
        if (unit == 0) {
            wide += u'?';
            ++i;
        } else {
            wide += unit;
            i += length;
        }
    }
    return wide;
}

std::string Utf8ToAnsi(std::string_view name)
{
    if (is_ascii(name))
        return std::string(name);
    return to_code_page(Utf8ToWideMarked(name));
}

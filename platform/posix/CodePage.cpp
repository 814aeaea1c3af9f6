#include "platform/CodePage.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>
#include <stdexcept>

namespace {

// One converter per direction and thread, opened on first use.
class Converter {
public:
    Converter(const char* to, const char* from) : handle_(iconv_open(to, from))
    {
        if (handle_ == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error("code page 936 is not available");
    }
    ~Converter() { iconv_close(handle_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts in to out; an input sequence it cannot convert is replaced by
    // `replacement` and skipped by skip(in, in_left) bytes.
    template <class Skip>
    void Convert(const char* in, size_t in_left, std::string& out, std::string_view replacement, Skip skip)
    {
        iconv(handle_, nullptr, nullptr, nullptr, nullptr);
        char buffer[1024];
        while (in_left > 0) {
            char* dst = buffer;
            size_t dst_left = sizeof buffer;
            size_t rc = iconv(handle_, const_cast<char**>(&in), &in_left, &dst, &dst_left);
            out.append(buffer, static_cast<size_t>(dst - buffer));
            if (rc != static_cast<size_t>(-1))
                continue;
            if (errno == E2BIG)
                continue;
            // EILSEQ or EINVAL (incomplete sequence at the end).
            out.append(replacement);
            size_t n = std::min(skip(in, in_left), in_left);
            in += n;
            in_left -= n;
            iconv(handle_, nullptr, nullptr, nullptr, nullptr);
        }
    }

private:
    iconv_t handle_;
};

char16_t unit_at(const char* bytes)
{
    return static_cast<char16_t>(static_cast<unsigned char>(bytes[0]) | (static_cast<unsigned char>(bytes[1]) << 8));
}

// A character the code page lacks is one unit, or two when it is a surrogate
// pair: either way it becomes one default character.
size_t wide_character_bytes(const char* in, size_t in_left)
{
    if (in_left >= 4) {
        const char16_t high = unit_at(in);
        const char16_t low = unit_at(in + 2);
        if (high >= 0xD800 && high <= 0xDBFF && low >= 0xDC00 && low <= 0xDFFF)
            return 4;
    }
    return 2;
}

// Bytes that are not GBK are skipped one at a time.
size_t one_byte(const char*, size_t) { return 1; }

bool is_ascii(std::u16string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char16_t c) { return c < 0x80; });
}

bool is_ascii(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

} // namespace

std::string WideToAnsi(std::u16string_view wide)
{
    wide = wide.substr(0, wide.find(u'\0'));
    if (is_ascii(wide))
        return std::string(wide.begin(), wide.end());
    thread_local Converter converter("CP936", "UTF-16LE");
    std::string out;
    out.reserve(wide.size() * 2);
    converter.Convert(reinterpret_cast<const char*>(wide.data()), wide.size() * 2, out, "?", wide_character_bytes);
    return out;
}

std::u16string AnsiToWide(std::string_view ansi)
{
    if (is_ascii(ansi))
        return std::u16string(ansi.begin(), ansi.end());
    thread_local Converter converter("UTF-16LE", "CP936");
    std::string out;
    converter.Convert(ansi.data(), ansi.size(), out, std::string_view("?\0", 2), one_byte);
    std::u16string wide(out.size() / 2, u'\0');
    for (size_t i = 0; i < wide.size(); ++i)
        wide[i] = unit_at(out.data() + 2 * i);
    return wide;
}

std::string Utf8ToAnsi(std::string_view name)
{
    if (is_ascii(name))
        return std::string(name);
    thread_local Converter converter("CP936", "UTF-8");
    std::string out;
    out.reserve(name.size());
    // A character the code page lacks goes as a whole (lead byte and its
    // continuation bytes); a stray byte goes alone.
    converter.Convert(name.data(), name.size(), out, "?", [](const char* in, size_t in_left) {
        const auto lead = static_cast<unsigned char>(in[0]);
        size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        size_t n = 1;
        while (n < length && n < in_left && (static_cast<unsigned char>(in[n]) & 0xC0) == 0x80)
            ++n;
        return n;
    });
    return out;
}

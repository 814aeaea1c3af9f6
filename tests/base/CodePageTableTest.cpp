#include "platform/CodePage.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>

// The conversions of every platform must give what the C library's CP936
// converter gives on Linux, code for code. Each table below is folded into
// one FNV-1a digest; the digests were taken from the iconv build.

namespace {

class Digest {
public:
    void Add(std::string_view bytes)
    {
        for (char c : bytes)
            add_byte(static_cast<uint8_t>(c));
        add_byte(0xFF);  // keeps neighbouring results apart
    }
    void Add(std::u16string_view units)
    {
        for (char16_t u : units) {
            add_byte(static_cast<uint8_t>(u & 0xFF));
            add_byte(static_cast<uint8_t>(u >> 8));
        }
        add_byte(0xFF);
    }
    uint64_t Value() const { return hash_; }

private:
    void add_byte(uint8_t byte)
    {
        hash_ ^= byte;
        hash_ *= 0x100000001b3ULL;
    }
    uint64_t hash_ = 0xcbf29ce484222325ULL;
};

// UTF-8 of one code point.
std::string utf8_of(char32_t code)
{
    std::string out;
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
    return out;
}

TEST(CodePageTable, EveryWideUnitConvertsAsTheReferenceConverterDoes)
{
    Digest digest;
    for (char32_t unit = 1; unit <= 0xFFFF; ++unit)
        digest.Add(WideToAnsi(std::u16string(1, static_cast<char16_t>(unit))));
    EXPECT_EQ(digest.Value(), 0x6072ECE9D3A64270ULL);
}

TEST(CodePageTable, EveryOneAndTwoByteSequenceConvertsAsTheReferenceConverterDoes)
{
    Digest digest;
    for (int lead = 0x80; lead <= 0xFF; ++lead) {
        digest.Add(AnsiToWide(std::string(1, static_cast<char>(lead))));
        for (int trail = 0; trail <= 0xFF; ++trail)
            digest.Add(AnsiToWide(std::string{static_cast<char>(lead), static_cast<char>(trail)}));
    }
    EXPECT_EQ(digest.Value(), 0x0F70A47225839480ULL);
}

TEST(CodePageTable, EveryCharacterInUtf8ConvertsAsTheReferenceConverterDoes)
{
    Digest digest;
    for (char32_t code = 0x80; code <= 0x10FFFF; code += code < 0x10000 ? 1 : 0x3F) {
        if (code < 0xD800 || code > 0xDFFF)
            digest.Add(Utf8ToAnsi(utf8_of(code)));
    }
    EXPECT_EQ(digest.Value(), 0x1D12FE2C065AD477ULL);
}

// Mixed texts: characters next to malformed bytes, lone and paired
// surrogates, the user-defined area, tag characters. The engine's raw output
// is the same on every system (distributions are not).
TEST(CodePageTable, MixedTextsConvertAsTheReferenceConverterDoes)
{
    std::mt19937 random(936);
    Digest wide_digest, ansi_digest, utf8_digest;
    for (int i = 0; i < 20000; ++i) {
        std::u16string wide;
        for (uint32_t n = random() % 8; n > 0; --n) {
            const uint32_t kind = random() % 6;
            const uint32_t r = random();
            char16_t unit = kind == 0   ? static_cast<char16_t>(0xD800 + r % 0x800)
                            : kind == 1 ? static_cast<char16_t>(0x20 + r % 0x60)
                            : kind == 2 ? static_cast<char16_t>(0xE000 + r % 0x1900)
                                        : static_cast<char16_t>(r % 0x10000);
            wide += unit == 0 ? u'x' : unit;
        }
        wide_digest.Add(WideToAnsi(wide));

        std::string ansi;
        for (uint32_t n = random() % 8; n > 0; --n) {
            const uint32_t r = random();
            ansi += static_cast<char>(r % 4 == 0 ? 0x20 + (r >> 2) % 0x60 : 0x80 + (r >> 2) % 0x80);
        }
        ansi_digest.Add(AnsiToWide(ansi));

        std::string utf8;
        for (uint32_t n = random() % 10; n > 0; --n) {
            const uint32_t kind = random() % 6;
            const uint32_t r = random();
            if (kind == 5) {
                const char32_t code = r % 0x110000;
                utf8 += utf8_of(code >= 0xD800 && code <= 0xDFFF ? U'\u4E2D' : code == 0 ? U'x' : code);
            } else {
                const int base[] = {0x20, 0x80, 0xC0, 0xE0, 0xF0};
                const int span[] = {0x60, 0x40, 0x20, 0x10, 0x10};
                utf8 += static_cast<char>(base[kind] + static_cast<int>(r % static_cast<uint32_t>(span[kind])));
            }
        }
        utf8_digest.Add(Utf8ToAnsi(utf8));
    }
    EXPECT_EQ(wide_digest.Value(), 0xF2060848C3DB8848ULL);
    EXPECT_EQ(ansi_digest.Value(), 0xDAD81E1030447DA5ULL);
    EXPECT_EQ(utf8_digest.Value(), 0x7F6596C0F0C86DA4ULL);
}

} // namespace

#pragma once

#include <cstddef>
#include <string>
#include <string_view>

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

// Reads the code point at pos and moves pos past it. A malformed, overlong or surrogate
// sequence gives U+FFFD and moves pos by one byte, so every byte is consumed.
char32_t next_code_point(std::string_view text, std::size_t& pos);

void append_utf8(std::string& out, char32_t code);

#pragma once

#include <string>
#include <string_view>

// Searches and case changes on 8-bit GBK text. A lead byte and the byte after
// it form one character and are never matched on their own, so a trail byte
// that happens to be "\" or "/" is not taken for one.
namespace ansi {

constexpr size_t npos = std::string_view::npos;

bool is_lead_byte(unsigned char c);
// First c at or after from.
size_t find(std::string_view text, char c, size_t from = 0);
// Last c at or before upto (npos: anywhere).
size_t find_last(std::string_view text, char c, size_t upto = npos);
// First occurrence of needle at a character boundary.
size_t find(std::string_view text, std::string_view needle);
// ASCII letters upper-cased; two-byte characters kept as they are.
std::string upper(std::string_view text);
bool equals_ignore_case(std::string_view a, std::string_view b);
bool starts_with_ignore_case(std::string_view text, std::string_view prefix);
bool ends_with_ignore_case(std::string_view text, std::string_view suffix);
// Spaces, tabs and other control bytes removed at both ends.
std::string_view trim(std::string_view text);
std::string_view trim_right(std::string_view text);
std::string_view trim_left(std::string_view text);

} // namespace ansi

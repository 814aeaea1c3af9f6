#include "http/AnsiText.h"

namespace ansi {

bool is_lead_byte(unsigned char c)
{
    return c >= 0x81 && c <= 0xFE;
}

namespace {

// Index of the character after the one at i.
size_t next_char(std::string_view text, size_t i)
{
    if (is_lead_byte(static_cast<unsigned char>(text[i])) && i + 1 < text.size())
        return i + 2;
    return i + 1;
}

char upper_ascii(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool is_blank(char c)
{
    return static_cast<unsigned char>(c) <= ' ';
}

} // namespace

size_t find(std::string_view text, char c, size_t from)
{
    for (size_t i = 0; i < text.size(); i = next_char(text, i)) {
        if (i >= from && text[i] == c)
            return i;
    }
    return npos;
}

size_t find_last(std::string_view text, char c, size_t upto)
{
    size_t found = npos;
    for (size_t i = 0; i < text.size() && (upto == npos || i <= upto); i = next_char(text, i)) {
        if (text[i] == c)
            found = i;
    }
    return found;
}

size_t find(std::string_view text, std::string_view needle)
{
    if (needle.empty())
        return 0;
    for (size_t i = 0; i < text.size(); i = next_char(text, i)) {
        if (text.substr(i, needle.size()) == needle)
            return i;
    }
    return npos;
}

std::string upper(std::string_view text)
{
    std::string out(text);
    for (size_t i = 0; i < out.size(); i = next_char(out, i))
        out[i] = upper_ascii(out[i]);
    return out;
}

bool equals_ignore_case(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && upper(a) == upper(b);
}

bool starts_with_ignore_case(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && equals_ignore_case(text.substr(0, prefix.size()), prefix);
}

bool ends_with_ignore_case(std::string_view text, std::string_view suffix)
{
    if (text.size() < suffix.size())
        return false;
    size_t start = text.size() - suffix.size();
    // The suffix must begin on a character boundary of text.
    size_t i = 0;
    while (i < start)
        i = next_char(text, i);
    return i == start && upper(text.substr(start)) == upper(suffix);
}

std::string_view trim_left(std::string_view text)
{
    size_t i = 0;
    while (i < text.size() && is_blank(text[i]))
        ++i;
    return text.substr(i);
}

std::string_view trim_right(std::string_view text)
{
    size_t n = text.size();
    while (n > 0 && is_blank(text[n - 1]))
        --n;
    return text.substr(0, n);
}

std::string_view trim(std::string_view text)
{
    return trim_right(trim_left(text));
}

} // namespace ansi

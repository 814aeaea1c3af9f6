#include "http/TNxCookieRFC2109.h"

#include "http/AnsiText.h"
#include "http/CookieDate.h"
#include "http/TNxCookieRFC2965.h"

#include <charconv>
#include <limits>
#include <vector>

namespace {

std::vector<std::string_view> cut_at_semicolons(std::string_view text)
{
    std::vector<std::string_view> parts;
    size_t start = 0;
    for (;;) {
        size_t semicolon = ansi::find(text, ';', start);
        parts.push_back(ansi::trim(text.substr(start, semicolon == ansi::npos ? ansi::npos : semicolon - start)));
        if (semicolon == ansi::npos)
            return parts;
        start = semicolon + 1;
    }
}

int64_t max_age_of(std::string_view text)
{
    text = ansi::trim(text);
    int64_t value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size())
        return -1;
    return value;
}

} // namespace

void TNxCookieRFC2109::Load(std::string_view text, int64_t now_utc)
{
    std::vector<std::string_view> parts = cut_at_semicolons(text);
    size_t equals = ansi::find(parts[0], '=');
    if (equals != ansi::npos) {
        Name = std::string(parts[0].substr(0, equals));
        Value = std::string(parts[0].substr(equals + 1));
    }
    for (size_t i = 1; i < parts.size(); ++i) {
        size_t eq = ansi::find(parts[i], '=');
        std::string name = ansi::upper(eq == ansi::npos ? parts[i] : parts[i].substr(0, eq));
        std::string_view value = eq == ansi::npos ? std::string_view() : parts[i].substr(eq + 1);
        take_attribute(std::string(ansi::trim(name)), ansi::trim(value));
    }
    if (Expires.empty() && MaxAge >= 0) {
        // Saturates far in the future instead of overflowing.
        int64_t expiry = MaxAge > kLastCookieInstant - now_utc ? kLastCookieInstant : now_utc + MaxAge;
        Expires = WriteCookieDate(expiry);
    }
}

bool TNxCookieRFC2109::take_attribute(const std::string& name, std::string_view value)
{
    if (name == "PATH") {
        if (!value.empty() && value.front() == '"')
            value.remove_prefix(1);
        if (!value.empty() && value.back() == '"')
            value.remove_suffix(1);
        Path = std::string(value);
    } else if (name == "EXPIRES") {
        Expires = std::string(value);
    } else if (name == "DOMAIN") {
        Domain = std::string(value);
    } else if (name == "SECURE") {
        Secure = true;
    } else if (name == "MAX-AGE") {
        MaxAge = max_age_of(value);
    } else if (name == "VERSION") {
        Version = std::string(value);
    } else if (name == "COMMENT") {
        Comment = std::string(value);
    } else {
        return false;
    }
    return true;
}

bool TNxCookieRFC2965::take_attribute(const std::string& name, std::string_view value)
{
    if (TNxCookieRFC2109::take_attribute(name, value))
        return true;
    if (name == "COMMENTURL") {
        CommentURL = std::string(value);
    } else if (name == "DISCARD") {
        Discard = true;
    } else if (name == "PORT") {
        PortList = std::string(value);
    } else {
        return false;
    }
    return true;
}

#include "server/RequestText.h"

#include "server/ServiceLimits.h"

#include <algorithm>

std::optional<std::int64_t> parse_decimal(std::string_view text, std::size_t max_digits)
{
    // 18 digits always fit in 64 bits.
    if (text.empty() || text.size() > max_digits || text.size() > 18)
        return std::nullopt;
    std::int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

std::string usable_host(std::string_view header, std::string_view fallback)
{
    const bool plain = !header.empty() && header.size() <= service_limits::kMaxHostLength &&
                       std::all_of(header.begin(), header.end(), [](char c) {
                           return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                                  c == '.' || c == '-' || c == ':' || c == '[' || c == ']' || c == '_';
                       });
    return std::string(plain ? header : fallback);
}

std::string html_escape(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&#39;"; break;
        default: out += c;
        }
    }
    return out;
}

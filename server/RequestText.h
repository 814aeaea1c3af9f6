#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// A query value made of decimal digits only, at most max_digits of them; anything else
// (empty, signs, blanks, letters, too long to fit) gives none.
std::optional<std::int64_t> parse_decimal(std::string_view text, std::size_t max_digits);

// The Host header when it is a plain host name or address with an optional port, else the
// fallback; it goes into addresses and pages the service writes.
std::string usable_host(std::string_view header, std::string_view fallback);

// Text for an HTML page: & < > " ' replaced.
std::string html_escape(std::string_view text);

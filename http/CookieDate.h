#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Cookie expiry dates. Instants are seconds since 1970-01-01 00:00:00 UTC.

// Reads the date forms servers send ("Wed, 09 Jun 2021 10:18:14 GMT",
// "Wednesday, 09-Jun-21 10:18:14 GMT", "Wed Jun  9 10:18:14 2021",
// "Wed, 9 Jun 2021 18:18:14 +0800"); nothing when the text is no date.
std::optional<int64_t> ReadCookieDate(std::string_view text);

// "Wed, 9 Jun 2021 18:18:14 +0800": local time with its offset. Instants
// beyond the year 9999 are written as the last second of 9999.
std::string WriteCookieDate(int64_t utc_seconds);
std::string WriteCookieDate(int64_t utc_seconds, int32_t local_offset_seconds);

// Latest instant that WriteCookieDate can represent.
constexpr int64_t kLastCookieInstant = 253402300799;  // 9999-12-31 23:59:59 UTC

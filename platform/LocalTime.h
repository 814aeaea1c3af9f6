#pragma once

#include <cstdint>

// Seconds since 1970-01-01 00:00:00 UTC, now.
int64_t UtcNowSeconds();

// Seconds to add to a UTC instant to get the local wall-clock time at that
// instant (daylight time included).
int32_t LocalOffsetSeconds(int64_t utc_seconds);

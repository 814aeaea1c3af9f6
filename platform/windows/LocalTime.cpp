#include "platform/LocalTime.h"

#include <windows.h>

namespace {

// FILETIME counts 100 ns steps from 1601-01-01; Unix time seconds from 1970.
constexpr int64_t kTicksPerSecond = 10000000;
constexpr int64_t kUnixEpochSeconds = 11644473600;

int64_t seconds_of(const FILETIME& time)
{
    const int64_t ticks = static_cast<int64_t>((static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
    return ticks / kTicksPerSecond - kUnixEpochSeconds;
}

bool filetime_of(int64_t unix_seconds, FILETIME& time)
{
    // FILETIME reaches from 1601 to 30828; SYSTEMTIME's years end at 30827.
    constexpr int64_t kLastSeconds = 910670515199;  // 30827-12-31 23:59:59 UTC
    if (unix_seconds < -kUnixEpochSeconds || unix_seconds > kLastSeconds)
        return false;
    const auto ticks = static_cast<uint64_t>((unix_seconds + kUnixEpochSeconds) * kTicksPerSecond);
    time.dwLowDateTime = static_cast<DWORD>(ticks & 0xFFFFFFFFu);
    time.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    return true;
}

} // namespace

int64_t UtcNowSeconds()
{
    FILETIME now;
    ::GetSystemTimeAsFileTime(&now);
    return seconds_of(now);
}

int32_t LocalOffsetSeconds(int64_t utc_seconds)
{
    // The zone's bias and its daylight rules as the system gives them,
    // applied to the year of the instant.
    TIME_ZONE_INFORMATION zone;
    if (::GetTimeZoneInformation(&zone) == TIME_ZONE_ID_INVALID)
        return 0;
    FILETIME utc_file;
    SYSTEMTIME utc, local;
    FILETIME local_file;
    if (!filetime_of(utc_seconds, utc_file) || !::FileTimeToSystemTime(&utc_file, &utc) ||
        !::SystemTimeToTzSpecificLocalTime(&zone, &utc, &local) || !::SystemTimeToFileTime(&local, &local_file))
        return static_cast<int32_t>(-zone.Bias * 60);
    return static_cast<int32_t>(seconds_of(local_file) - utc_seconds);
}

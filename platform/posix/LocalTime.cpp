#include "platform/LocalTime.h"

#include <ctime>
#include <limits>

int64_t UtcNowSeconds()
{
    return static_cast<int64_t>(std::time(nullptr));
}

int32_t LocalOffsetSeconds(int64_t utc_seconds)
{
    if (utc_seconds < std::numeric_limits<time_t>::min() || utc_seconds > std::numeric_limits<time_t>::max())
        return 0;
    time_t t = static_cast<time_t>(utc_seconds);
    tm local{};
    if (::localtime_r(&t, &local) == nullptr)
        return 0;
    return static_cast<int32_t>(local.tm_gmtoff);
}

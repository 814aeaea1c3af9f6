#include "http/CookieDate.h"

#include "http/AnsiText.h"
#include "platform/LocalTime.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace {

constexpr std::array<std::string_view, 7> kWeekdays = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr std::array<std::string_view, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                      "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// Days since 1970-01-01 of a proleptic Gregorian date.
int64_t days_from_civil(int64_t y, int m, int d)
{
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void civil_from_days(int64_t z, int64_t& y, int& m, int& d)
{
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = yoe + era * 400 + (m <= 2);
}

int days_in_month(int64_t y, int m)
{
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    return m == 2 && leap ? 29 : kDays[m - 1];
}

int month_number(std::string_view token)
{
    for (size_t i = 0; i < kMonths.size(); ++i) {
        if (ansi::equals_ignore_case(token, kMonths[i]))
            return static_cast<int>(i) + 1;
    }
    return 0;
}

// Whole token as an unsigned decimal of at most max_digits digits.
std::optional<int> small_number(std::string_view token, size_t max_digits)
{
    if (token.empty() || token.size() > max_digits)
        return std::nullopt;
    int value = 0;
    for (char c : token) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

// Cuts the next token off text at sep, skipping repeated separators.
std::string_view next_token(std::string_view& text, char sep)
{
    while (!text.empty() && text.front() == sep)
        text.remove_prefix(1);
    size_t end = text.find(sep);
    std::string_view token = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    return token;
}

bool read_time(std::string_view token, int& h, int& m, int& s)
{
    if (token.size() != 8 || token[2] != ':' || token[5] != ':')
        return false;
    auto hh = small_number(token.substr(0, 2), 2);
    auto mm = small_number(token.substr(3, 2), 2);
    auto ss = small_number(token.substr(6, 2), 2);
    if (!hh || !mm || !ss || *hh > 23 || *mm > 59 || *ss > 59)
        return false;
    h = *hh;
    m = *mm;
    s = *ss;
    return true;
}

} // namespace

std::optional<int64_t> ReadCookieDate(std::string_view text)
{
    text = ansi::trim(text);
    for (auto day : kWeekdays) {
        if (ansi::starts_with_ignore_case(text, day)) {
            size_t space = text.find(' ');
            text = space == std::string_view::npos ? std::string_view() : ansi::trim(text.substr(space + 1));
            break;
        }
    }
    size_t first_space = text.find(' ');
    size_t dash = text.find('-', 1);
    char sep = dash != std::string_view::npos && dash < first_space ? '-' : ' ';

    std::string_view a = next_token(text, sep);
    std::string_view b = next_token(text, sep);
    int month = month_number(a);
    std::optional<int> day = small_number(b, 2);
    if (month == 0) {
        month = month_number(b);
        day = small_number(a, 2);
    }
    if (month == 0 || !day)
        return std::nullopt;

    // The year runs to the next blank; in the asctime form the time comes first.
    if (sep == '-') {
        text = ansi::trim_left(text);
    }
    std::string_view rest = ansi::trim_left(text);
    std::string_view year_token = next_token(rest, ' ');
    std::string_view time_token;
    if (!small_number(year_token, 4)) {
        time_token = year_token;
        std::string_view after = ansi::trim_left(rest);
        year_token = next_token(after, ' ');
        rest = after;
    } else {
        rest = ansi::trim_left(rest);
        if (!rest.empty() && rest.find(':') != std::string_view::npos && rest.find(':') < rest.find(' '))
            time_token = next_token(rest, ' ');
    }
    std::optional<int> year_number = small_number(year_token, 4);
    if (!year_number)
        return std::nullopt;
    int64_t year = *year_number;
    if (year_token.size() <= 2)
        year += year < 80 ? 2000 : 1900;
    if (year < 1601 || *day < 1 || *day > days_in_month(year, month))
        return std::nullopt;

    int h = 0, m = 0, s = 0;
    if (!time_token.empty() && !read_time(time_token, h, m, s))
        return std::nullopt;

    int64_t offset = 0;
    std::string_view zone = ansi::trim(rest);
    if (zone.size() >= 5 && (zone[0] == '+' || zone[0] == '-')) {
        auto hh = small_number(zone.substr(1, 2), 2);
        auto mm = small_number(zone.substr(3, 2), 2);
        if (hh && mm)
            offset = (zone[0] == '-' ? -1 : 1) * (int64_t{*hh} * 3600 + int64_t{*mm} * 60);
    }
    return days_from_civil(year, month, *day) * 86400 + h * 3600 + m * 60 + s - offset;
}

std::string WriteCookieDate(int64_t utc_seconds, int32_t local_offset_seconds)
{
    int64_t local = std::clamp<int64_t>(utc_seconds, 0, kLastCookieInstant) + local_offset_seconds;
    local = std::clamp<int64_t>(local, 0, kLastCookieInstant);
    int64_t days = local >= 0 ? local / 86400 : -((-local + 86399) / 86400);
    int64_t seconds_of_day = local - days * 86400;
    int64_t year = 0;
    int month = 0, day = 0;
    civil_from_days(days, year, month, day);
    int64_t weekday = ((days % 7) + 11) % 7;  // 1970-01-01 was a Thursday
    int32_t offset_minutes = local_offset_seconds / 60;
    char sign = offset_minutes < 0 ? '-' : '+';
    offset_minutes = offset_minutes < 0 ? -offset_minutes : offset_minutes;
    char text[64];
    std::snprintf(text, sizeof text, "%s, %d %s %04lld %02d:%02d:%02d %c%02d%02d",
                  std::string(kWeekdays[static_cast<size_t>(weekday)]).c_str(), day,
                  std::string(kMonths[static_cast<size_t>(month - 1)]).c_str(), static_cast<long long>(year),
                  static_cast<int>(seconds_of_day / 3600), static_cast<int>(seconds_of_day / 60 % 60),
                  static_cast<int>(seconds_of_day % 60), sign, offset_minutes / 60 % 100, offset_minutes % 60);
    return text;
}

std::string WriteCookieDate(int64_t utc_seconds)
{
    int64_t clamped = std::min(utc_seconds, kLastCookieInstant);
    return WriteCookieDate(clamped, LocalOffsetSeconds(clamped));
}

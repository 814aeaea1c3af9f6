#include "server/SessionCookie.h"

#include <cstdio>

SessionIds::SessionIds() : random_(std::random_device{}()) {}

bool SessionIds::Carries(std::string_view header)
{
    while (!header.empty()) {
        const std::size_t end = header.find(';');
        std::string_view pair = header.substr(0, end);
        header = end == std::string_view::npos ? std::string_view() : header.substr(end + 1);
        while (!pair.empty() && (pair.front() == ' ' || pair.front() == '\t'))
            pair.remove_prefix(1);
        const std::size_t equals = pair.find('=');
        if (equals != std::string_view::npos && pair.substr(0, equals) == session_cookie::kName &&
            equals + 1 < pair.size())
            return true;
    }
    return false;
}

std::string SessionIds::NewCookie()
{
    unsigned long long id = 0;
    {
        std::lock_guard lock(mutex_);
        id = random_();
    }
    char digits[17];
    std::snprintf(digits, sizeof digits, "%016llx", id);
    return std::string(session_cookie::kName) + "=" + digits + "; Path=/";
}

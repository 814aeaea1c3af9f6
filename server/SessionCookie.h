#pragma once

#include <mutex>
#include <random>
#include <string>
#include <string_view>

// The session cookie the service hands to every client that comes without one.
class SessionIds {
public:
    SessionIds();
    // Whether a Cookie header already carries the session cookie.
    static bool Carries(std::string_view cookie_header);
    // A Set-Cookie value for a new session: name=16 hex digits; Path=/.
    std::string NewCookie();

private:
    std::mutex mutex_;
    std::mt19937_64 random_;
};

namespace session_cookie {
inline constexpr std::string_view kName = "tavrin_session";
} // namespace session_cookie

#pragma once

#include "http/TNxCookieRFC2109.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <shared_mutex>
#include <string>
#include <string_view>
#include <vector>

struct TNxURI;

// The in-memory cookie store: a table of domains in the order they were first
// seen, each with its cookies in the order they were first set.
class TNxCookieManager {
public:
    // clock gives the present instant (seconds since 1970, UTC); tests set it.
    explicit TNxCookieManager(std::function<int64_t()> clock = {});

    // One "Set-cookie" value, as set by host.
    void AddCookie(std::string_view text, std::string_view host);
    // One "Set-cookie2" value.
    void AddCookie2(std::string_view text, std::string_view host);
    // The Cookie header value for a request to uri; empty when nothing is due.
    std::string GenerateCookieList(const TNxURI& uri, bool secure_connection);
    // Drops every cookie whose expiry has come or cannot be read.
    void RemoveExpiredCookies();

    size_t CookieCount() const;
    // A copy of the stored cookie, or null.
    std::unique_ptr<TNxCookieRFC2109> Find(std::string_view domain, std::string_view name) const;

    // Whether a cookie of that domain may go to that host.
    static bool DomainMatchesHost(std::string_view domain, std::string_view host);
    // Whether host may set a cookie for that domain.
    static bool HostMaySetDomain(std::string_view host, std::string_view domain);

private:
    struct DomainEntry {
        std::string domain;
        std::vector<std::unique_ptr<TNxCookieRFC2109>> cookies;
    };

    void add(std::unique_ptr<TNxCookieRFC2109> cookie, std::string_view text, std::string_view host);
    int64_t now() const;

    std::function<int64_t()> clock_;
    mutable std::shared_mutex lock_;
    std::vector<DomainEntry> table_;
};

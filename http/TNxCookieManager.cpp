#include "http/TNxCookieManager.h"

#include "http/AnsiText.h"
#include "http/CookieDate.h"
#include "http/PublicSuffix.h"
#include "http/TNxCookieRFC2965.h"
#include "http/TNxURI.h"
#include "platform/LocalTime.h"
#include "platform/Socket.h"

#include <mutex>

TNxCookieManager::TNxCookieManager(std::function<int64_t()> clock) : clock_(std::move(clock)) {}

int64_t TNxCookieManager::now() const
{
    return clock_ ? clock_() : UtcNowSeconds();
}

void TNxCookieManager::AddCookie(std::string_view text, std::string_view host)
{
    add(std::make_unique<TNxCookieRFC2109>(), text, host);
}

void TNxCookieManager::AddCookie2(std::string_view text, std::string_view host)
{
    add(std::make_unique<TNxCookieRFC2965>(), text, host);
}

bool TNxCookieManager::HostMaySetDomain(std::string_view host, std::string_view domain)
{
    if (IsDottedQuad(host) || domain.empty() || domain.front() != '.')
        return domain == host;
    // ".com", ".co.uk", ...: such a cookie would go to every site under it.
    if (IsPublicSuffix(domain.substr(1)))
        return ansi::equals_ignore_case(domain.substr(1), host);
    size_t dot = ansi::find(host, '.');
    return dot != ansi::npos && host.substr(dot) == domain;
}

bool TNxCookieManager::DomainMatchesHost(std::string_view domain, std::string_view host)
{
    if (domain.empty())
        return false;
    if (ansi::equals_ignore_case(host, domain))
        return true;
    // ".a.b" covers a.b and every host under it, and nothing that merely
    // contains the text.
    return domain.front() == '.' && domain.size() > 1 &&
           (ansi::ends_with_ignore_case(host, domain) || ansi::equals_ignore_case(host, domain.substr(1)));
}

void TNxCookieManager::add(std::unique_ptr<TNxCookieRFC2109> cookie, std::string_view text, std::string_view host)
{
    cookie->Load(text, now());
    if (cookie->Domain.empty())
        cookie->Domain = std::string(host);
    if (!HostMaySetDomain(host, cookie->Domain))
        return;
    // A suffix the host itself is named: the cookie is for that host alone.
    if (!cookie->Domain.empty() && cookie->Domain.front() == '.' && IsPublicSuffix(std::string_view(cookie->Domain).substr(1)))
        cookie->Domain = std::string(host);

    std::unique_lock guard(lock_);
    DomainEntry* entry = nullptr;
    for (auto& e : table_) {
        if (ansi::equals_ignore_case(e.domain, cookie->Domain)) {
            entry = &e;
            break;
        }
    }
    if (entry == nullptr) {
        table_.push_back(DomainEntry{cookie->Domain, {}});
        entry = &table_.back();
    }
    for (auto& stored : entry->cookies) {
        if (ansi::equals_ignore_case(stored->Name, cookie->Name)) {
            // Keeps its place in the order; everything else, the expiry
            // included, comes from the new cookie, so a server can delete a
            // cookie by setting it again with a past date.
            stored = std::move(cookie);
            return;
        }
    }
    entry->cookies.push_back(std::move(cookie));
}

void TNxCookieManager::RemoveExpiredCookies()
{
    int64_t present = now();
    std::unique_lock guard(lock_);
    for (auto& entry : table_) {
        std::erase_if(entry.cookies, [present](const std::unique_ptr<TNxCookieRFC2109>& c) {
            if (c->Expires.empty())
                return false;
            std::optional<int64_t> expiry = ReadCookieDate(c->Expires);
            return !expiry || *expiry <= present;
        });
    }
}

std::string TNxCookieManager::GenerateCookieList(const TNxURI& uri, bool secure_connection)
{
    RemoveExpiredCookies();
    std::shared_lock guard(lock_);
    // Ascending by path; a cookie goes before those of an equal path.
    std::vector<const TNxCookieRFC2109*> ordered;
    for (const auto& entry : table_) {
        if (!DomainMatchesHost(entry.domain, uri.Host))
            continue;
        for (auto it = entry.cookies.rbegin(); it != entry.cookies.rend(); ++it) {
            const TNxCookieRFC2109& c = **it;
            if (c.Path.empty() || !uri.Path.starts_with(c.Path) || (c.Secure && !secure_connection) || c.Value.empty())
                continue;
            std::string path = ansi::upper(c.Path);
            auto at = ordered.begin();
            while (at != ordered.end() && ansi::upper((*at)->Path) < path)
                ++at;
            ordered.insert(at, &c);
        }
    }
    std::string header;
    for (auto it = ordered.rbegin(); it != ordered.rend(); ++it) {
        if (!header.empty())
            header += "; ";
        header += (*it)->Name + "=" + (*it)->Value;
    }
    return header;
}

size_t TNxCookieManager::CookieCount() const
{
    std::shared_lock guard(lock_);
    size_t count = 0;
    for (const auto& entry : table_)
        count += entry.cookies.size();
    return count;
}

std::unique_ptr<TNxCookieRFC2109> TNxCookieManager::Find(std::string_view domain, std::string_view name) const
{
    std::shared_lock guard(lock_);
    for (const auto& entry : table_) {
        if (!ansi::equals_ignore_case(entry.domain, domain))
            continue;
        for (const auto& c : entry.cookies) {
            if (ansi::equals_ignore_case(c->Name, name))
                return c->Clone();
        }
    }
    return nullptr;
}

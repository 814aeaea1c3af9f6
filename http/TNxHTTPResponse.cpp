#include "http/TNxHTTPResponse.h"

#include "http/AnsiText.h"

#include <charconv>

namespace {

// Whole text as a decimal integer, or fallback.
template <typename Int>
Int decimal_or(std::string_view text, Int fallback)
{
    if (!text.empty() && text[0] == '+')
        text.remove_prefix(1);
    Int value{};
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size())
        return fallback;
    return value;
}

} // namespace

void TNxHTTPResponse::Clear()
{
    *this = TNxHTTPResponse{};
}

void TNxHTTPResponse::ParseHeaderFields()
{
    Location = RawHeaders.Values("Location");
    Server = RawHeaders.Values("Server");
    ProxyConnection = RawHeaders.Values("Proxy-Connection");
    Connection = RawHeaders.Values("Connection");
    ContentType = RawHeaders.Values("Content-Type");
    ContentEncoding = RawHeaders.Values("Content-Encoding");
    ContentLanguage = RawHeaders.Values("Content-Language");
    ContentVersion = RawHeaders.Values("Content-Version");
    Pragma = RawHeaders.Values("Pragma");
    WWWAuthenticate = RawHeaders.Extract("WWW-Authenticate");
    ProxyAuthenticate = RawHeaders.Extract("Proxy-Authenticate");
    std::string length = RawHeaders.Values("Content-Length");
    ContentLength = decimal_or<int64_t>(ansi::trim(length), -1);
    HasContentLength = ContentLength >= 0;
}

int TNxHTTPResponse::CodeFromStatusLine(const std::string& status_line)
{
    std::string_view rest = status_line;
    size_t space = rest.find(' ');
    rest = space == std::string_view::npos ? std::string_view() : rest.substr(space + 1);
    rest = ansi::trim(rest);
    rest = rest.substr(0, rest.find(' '));
    return decimal_or<int>(rest, -1);
}

bool TNxHTTPResponse::HeadersAllowKeepAlive(TNxHTTPProtocolVersion version) const
{
    std::string_view connection = ansi::trim(Connection);
    std::string_view proxy = ansi::trim(ProxyConnection);
    bool keep_alive = ansi::equals_ignore_case(connection, "KEEP-ALIVE") || ansi::equals_ignore_case(proxy, "KEEP-ALIVE");
    if (version == TNxHTTPProtocolVersion::pv1_1) {
        if (ansi::equals_ignore_case(connection, "CLOSE") || ansi::equals_ignore_case(proxy, "CLOSE"))
            return false;
        // An HTTP/1.0 server closes after its answer unless it says otherwise.
        return ResponseText.size() < 8 || ResponseText.compare(5, 3, "1.0") != 0 || keep_alive;
    }
    return keep_alive;
}

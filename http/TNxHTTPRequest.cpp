#include "http/TNxHTTPRequest.h"

namespace {

std::string base64(std::string_view bytes)
{
    static constexpr char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        uint32_t n = (uint32_t(uint8_t(bytes[i])) << 16) | (uint32_t(uint8_t(bytes[i + 1])) << 8) | uint8_t(bytes[i + 2]);
        out += kDigits[(n >> 18) & 63];
        out += kDigits[(n >> 12) & 63];
        out += kDigits[(n >> 6) & 63];
        out += kDigits[n & 63];
    }
    if (i < bytes.size()) {
        uint32_t n = uint32_t(uint8_t(bytes[i])) << 16;
        if (i + 1 < bytes.size())
            n |= uint32_t(uint8_t(bytes[i + 1])) << 8;
        out += kDigits[(n >> 18) & 63];
        out += kDigits[(n >> 12) & 63];
        out += i + 1 < bytes.size() ? kDigits[(n >> 6) & 63] : '=';
        out += '=';
    }
    return out;
}

} // namespace

std::string TNxHTTPRequest::ComposeHead(const std::string& protocol_version, const std::string& cookie)
{
    TNxHeaderList& h = RawHeaders;
    h.Clear();
    h.SetValue("Connection", Connection);
    h.SetValue("Content-Version", ContentVersion);
    h.SetValue("Content-Encoding", ContentEncoding);
    h.SetValue("Content-Language", ContentLanguage);
    h.SetValue("Content-Type", ContentType);
    if (ContentLength >= 0)
        h.SetValue("Content-Length", std::to_string(ContentLength));
    h.SetValue("Cache-control", CacheControl);
    h.SetValue("Date", Date);
    h.SetValue("Expires", Expires);
    h.SetValue("Pragma", Pragma);
    for (const auto& line : CustomHeaders.Lines())
        h.Add(line);
    h.SetValue("Proxy-Connection", ProxyConnection);
    h.SetValue("Host", Host);
    h.SetValue("Accept", Accept);
    h.SetValue("Accept-Charset", AcceptCharSet);
    h.SetValue("Accept-Encoding", AcceptEncoding);
    h.SetValue("Accept-Language", AcceptLanguage);
    h.SetValue("From", From);
    h.SetValue("Referer", Referer);
    h.SetValue("User-Agent", UserAgent);
    h.SetValue("If-Modified-Since", LastModified);
    if (ContentRangeStart > 0 || ContentRangeEnd > 0) {
        std::string range = "bytes=" + std::to_string(ContentRangeStart) + "-";
        if (ContentRangeEnd > 0)
            range += std::to_string(ContentRangeEnd);
        h.SetValue("Range", range);
    }
    if (BasicAuthentication && !Username.empty())
        h.SetValue("Authorization", "Basic " + base64(Username + ":" + Password));
    h.SetValue("Cookie", cookie);

    std::string head = Method + " " + URL + " HTTP/" + protocol_version + "\r\n";
    head += h.Text();
    head += "\r\n";
    return head;
}

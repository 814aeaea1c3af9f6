#pragma once

#include "http/TNxHeaderList.h"

#include <cstdint>
#include <string>

// What the client sends. Date texts are empty when unset.
struct TNxHTTPRequest {
    std::string URL;      // the request target
    std::string Method = "GET";

    std::string CacheControl;
    std::string Connection;
    std::string ContentEncoding;
    std::string ContentLanguage;
    int64_t ContentLength = -1;
    int64_t ContentRangeEnd = 0;
    int64_t ContentRangeStart = 0;
    std::string ContentType = "text/html";
    std::string ContentVersion;
    TNxHeaderList CustomHeaders;
    std::string Date;
    std::string Expires;
    std::string LastModified;
    std::string Pragma;
    std::string Accept = "text/html, */*";
    std::string AcceptCharSet;
    std::string AcceptEncoding;
    std::string AcceptLanguage;
    bool BasicAuthentication = false;
    std::string Host;
    std::string From;
    std::string Password;
    std::string Referer;
    std::string UserAgent = "Mozilla/3.0 (compatible; Tavrin Library)";
    std::string Username;
    std::string ProxyConnection;
    TNxHeaderList RawHeaders;

    // Fills RawHeaders from the fields in wire order, the cookie value last,
    // and returns the whole head: request line, header lines, empty line.
    std::string ComposeHead(const std::string& protocol_version, const std::string& cookie);
};

#pragma once

#include "http/TNxHeaderList.h"

#include <cstdint>
#include <string>
#include <vector>

class TMemoryStream;

enum class TNxHTTPProtocolVersion { pv1_0, pv1_1 };

// The last answer read; each response overwrites it.
struct TNxHTTPResponse {
    std::string ResponseText;  // status line without its line end
    int ResponseCode = -1;
    TNxHeaderList RawHeaders;

    std::string Location;
    std::string Server;
    std::string ProxyConnection;
    std::string Connection;
    int64_t ContentLength = -1;
    bool HasContentLength = false;
    std::string ContentType;
    std::string ContentEncoding;
    std::string ContentLanguage;
    std::string ContentVersion;
    std::string Pragma;
    std::vector<std::string> WWWAuthenticate;
    std::vector<std::string> ProxyAuthenticate;
    TMemoryStream* ContentStream = nullptr;

    void Clear();
    // Sets the named fields from RawHeaders.
    void ParseHeaderFields();
    // The code from the status line: the word after the version, -1 when not a number.
    static int CodeFromStatusLine(const std::string& status_line);
    // The connection header fields allow another request (the socket's own state aside).
    bool HeadersAllowKeepAlive(TNxHTTPProtocolVersion version) const;
};

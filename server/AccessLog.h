#pragma once

#include <cstdint>
#include <ctime>
#include <string>

// What the access log records of one request.
struct AccessEntry {
    std::string client; // numeric address
    std::string method;
    std::string target; // as the request line has it
    std::string version;
    int status = 0;
    std::int64_t body_bytes = 0; // sent, so 0 for HEAD
};

// The entry in the common log format, without the line end:
// 127.0.0.1 - - [09/Dec/2026:03:20:00 +0000] "GET /kestrid/ide.php?cq=1 HTTP/1.1" 200 19
std::string common_log_line(const AccessEntry& entry, std::time_t when);

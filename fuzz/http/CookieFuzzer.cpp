// Arbitrary text as "host\ncookie line\ncookie line...", then a request to
// the host, and every line read as a date.
#include "http/CookieDate.h"
#include "http/TNxCookieManager.h"
#include "http/TNxURI.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string_view text(reinterpret_cast<const char*>(data), size);
    size_t newline = text.find('\n');
    std::string host(text.substr(0, newline));
    text = newline == std::string_view::npos ? std::string_view() : text.substr(newline + 1);

    int64_t now = 1700000000;
    TNxCookieManager manager([&now] { return now; });
    bool second_kind = false;
    while (!text.empty()) {
        size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (second_kind)
            manager.AddCookie2(line, host);
        else
            manager.AddCookie(line, host);
        second_kind = !second_kind;
        if (auto date = ReadCookieDate(line))
            (void)WriteCookieDate(*date, static_cast<int32_t>(*date % 50400));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    }
    TNxURI uri = TNxURI::Split("http://" + host + "/a/b/c.php?x=1");
    (void)manager.GenerateCookieList(uri, false);
    now += 86400;
    (void)manager.GenerateCookieList(uri, true);
    return 0;
}

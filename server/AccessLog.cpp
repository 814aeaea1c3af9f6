#include "server/AccessLog.h"

#include <string_view>

namespace {

// Quotes and control bytes from the client would break the line apart.
std::string quoted_text(std::string_view text)
{
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f || c == '"' || c == '\\') {
            out += "\\x";
            out += kHex[byte >> 4];
            out += kHex[byte & 15];
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace

std::string common_log_line(const AccessEntry& entry, std::time_t when)
{
    std::tm local{};
    localtime_r(&when, &local);
    char stamp[40];
    if (std::strftime(stamp, sizeof stamp, "%d/%b/%Y:%H:%M:%S %z", &local) == 0)
        stamp[0] = '\0';
    return (entry.client.empty() ? std::string("-") : entry.client) + " - - [" + stamp + "] \"" +
           quoted_text(entry.method) + " " + quoted_text(entry.target) + " " + quoted_text(entry.version) + "\" " +
           std::to_string(entry.status) + " " + (entry.body_bytes > 0 ? std::to_string(entry.body_bytes) : "-");
}

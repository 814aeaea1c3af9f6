#include "platform/HostLookUp.h"
#include "platform/Socket.h"
#include "platform/SocketErrors.h"

namespace {

bool is_localhost(std::string_view name)
{
    static constexpr std::string_view kLocal = "localhost";
    if (name.size() != kLocal.size())
        return false;
    for (size_t i = 0; i < name.size(); ++i) {
        char c = name[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != kLocal[i])
            return false;
    }
    return true;
}

} // namespace

bool IsDottedQuad(std::string_view text)
{
    int parts = 0;
    size_t i = 0;
    while (parts < 4) {
        size_t start = i;
        int value = 0;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9' && i - start < 3) {
            value = value * 10 + (text[i] - '0');
            ++i;
        }
        if (i == start || value > 255)
            return false;
        ++parts;
        if (parts < 4) {
            if (i >= text.size() || text[i] != '.')
                return false;
            ++i;
        }
    }
    return i == text.size();
}

int ResolveHost(std::string_view host, std::string& dotted)
{
    if (is_localhost(host)) {
        dotted = "127.0.0.1";
        return 0;
    }
    if (IsDottedQuad(host)) {
        dotted = std::string(host);
        return 0;
    }
    if (host.empty() || host.find('\0') != std::string_view::npos)
        return kSocketHostNotFound;
    return LookUpHost(std::string(host), dotted);
}

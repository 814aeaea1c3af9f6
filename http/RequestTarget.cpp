#include "http/RequestTarget.h"

namespace {

bool needs_escape(unsigned char c)
{
    if (c <= 0x20 || c >= 0x7F)
        return true;
    switch (c) {
    case '"': case '<': case '>': case '\\': case '^': case '`': case '{': case '|': case '}':
        return true;
    default:
        return false;
    }
}

} // namespace

std::string EncodeRequestTarget(std::string_view target)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(target.size());
    for (char ch : target) {
        auto c = static_cast<unsigned char>(ch);
        if (needs_escape(c)) {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        } else {
            out += ch;
        }
    }
    return out;
}

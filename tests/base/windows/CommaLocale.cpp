#include "tests/base/CommaLocale.h"

#include <clocale>
#include <stdexcept>
#include <string>

namespace {

// The C runtime's name for German (Germany): decimal comma.
constexpr const char* kWindowsCommaLocale = "German_Germany.1252";

} // namespace

// Every Windows has every locale; nothing to provide.
void ProvideCommaLocale() {}

CommaLocaleScope::CommaLocaleScope()
{
    const char* previous = std::setlocale(LC_ALL, nullptr);
    previous_ = previous != nullptr ? previous : "C";
    if (std::setlocale(LC_ALL, kWindowsCommaLocale) == nullptr)
        throw std::runtime_error(std::string("setlocale refuses ") + kWindowsCommaLocale);
    if (std::string(std::localeconv()->decimal_point) != ",")
        throw std::runtime_error(std::string(kWindowsCommaLocale) + " has no decimal comma");
}

CommaLocaleScope::~CommaLocaleScope()
{
    std::setlocale(LC_ALL, previous_.c_str());
}

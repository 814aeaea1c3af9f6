#pragma once

#include <string>

// A locale whose decimal separator is a comma, for tests that check the
// program's numbers do not follow the user's locale. (On Windows the scope
// below takes the C runtime's German_Germany.1252.)
inline constexpr const char* kCommaLocale = "de_DE.UTF-8";

// Makes kCommaLocale loadable in this process and in the processes it starts:
// when the system has not installed it, it is compiled once with localedef
// into a folder of the build tree and LOCPATH points there. Raises
// std::runtime_error when that fails; nothing is installed into the system.
void ProvideCommaLocale();

// While it lives, every category of the C library's locale is kCommaLocale
// (provided as above) or its Windows counterpart; the previous locale comes
// back at its end.
class CommaLocaleScope {
public:
    CommaLocaleScope();
    ~CommaLocaleScope();
    CommaLocaleScope(const CommaLocaleScope&) = delete;
    CommaLocaleScope& operator=(const CommaLocaleScope&) = delete;

private:
    std::string previous_;
};

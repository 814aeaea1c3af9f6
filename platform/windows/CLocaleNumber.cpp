#include "platform/CLocaleNumber.h"

#include <algorithm>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <string>

// The C runtime has no strtold for a given locale, and its strtold (the
// 80-bit one of mingw-w64) reads the decimal separator of the current
// locale. So the text is cut where that separator first appears (the "C"
// locale would stop there too) and its full stop handed over as the
// separator.
long double StrToLongDoubleC(const char* text, char** end)
{
    const char* point = std::localeconv()->decimal_point;
    const std::string separator = point != nullptr && *point != '\0' ? point : ".";
    if (separator == ".")
        return std::strtold(text, end);
    std::string local(text);
    local.resize(std::min(local.size(), local.find(separator)));
    const size_t full_stop = local.find('.');
    if (full_stop != std::string::npos)
        local.replace(full_stop, 1, separator);
    char* local_end = nullptr;
    const long double value = std::strtold(local.c_str(), &local_end);
    if (end != nullptr) {
        size_t read = static_cast<size_t>(local_end - local.c_str());
        // Bytes read past the separator stand for bytes past the full stop.
        if (full_stop != std::string::npos && read > full_stop)
            read = read >= full_stop + separator.size() ? read - separator.size() + 1 : full_stop;
        *end = const_cast<char*>(text) + read;
    }
    return value;
}

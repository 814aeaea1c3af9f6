#include "platform/CLocaleNumber.h"

#include <clocale>
#include <cstdlib>
#include <locale.h>

namespace {

// A "C" locale made once, so that no user setting changes the full stop.
locale_t c_locale()
{
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return locale;
}

} // namespace

long double StrToLongDoubleC(const char* text, char** end)
{
    return strtold_l(text, end, c_locale());
}

#pragma once

#include <string_view>

enum class NumberTextResult { Ok, NotANumber, OutOfRange };

// Decimal text to an extended float, independent of the user's locale: an
// optional sign, digits with an optional full stop and fraction, an optional
// exponent. A value too large for the format is OutOfRange; one too small for
// it is no error and reads as the nearest value (0 at the end).
NumberTextResult NumberTextToExtended(std::string_view text, long double& value);

// The stored extended value as a double; beyond the double range it becomes
// the infinity of its sign instead of undefined behaviour.
double ExtendedToDouble(long double value);

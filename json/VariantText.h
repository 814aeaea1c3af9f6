#pragma once

#include "json/Variant.h"

#include <string>

// The 8-bit text that labels, grid cells and lists show for a value: numbers in
// general format (up to 15 significant digits, a full stop), wide text in the
// ANSI code page (cut at its first unit 0), booleans as "True" and "False".
// Null raises EVariantTypeCastError.
std::string VariantToText(const Variant& value);

// As VariantToText, except that Null gives empty text.
std::string VariantToTextOrEmpty(const Variant& value);

// The general float format on its own.
std::string FloatToText(double value);

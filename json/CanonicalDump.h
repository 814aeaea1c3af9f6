#pragma once

#include "json/TQvJSONbase.h"

#include <string>

// One-line ASCII dump of a value tree for diagnostics: null, true, false,
// n:<display text>, strings with every unit outside 20..7E (and " and \)
// as \uXXXX, [a,b], {"name":value} with every member in document order.
// None dumps as NONE.
std::string CanonicalDump(const TQvJSONbase* value);

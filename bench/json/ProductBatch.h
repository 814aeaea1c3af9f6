#pragma once

#include <string>

// A product-batch answer as the catalogue service sends it: counters, then
// the product container as the fifth member, 48 products of 11 members each,
// Chinese titles and brands half as \u escapes and half as raw UTF-8.
// The same bytes on every call.
std::string MakeProductBatch();

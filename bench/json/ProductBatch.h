#pragma once

#include <string>

// A product-batch answer as the catalogue service sends it: counters, then
// the product container as the fifth member, 48 products of 11 members each,
// Chinese titles and brands half as \u escapes and half as raw UTF-8.
// Every detail_url carries 160 random characters of click-tracking tokens
// (26% of the bytes): the long product addresses of a live catalogue, which
// the service's sample catalogue does not have. The same bytes on every call.
std::string MakeProductBatch();

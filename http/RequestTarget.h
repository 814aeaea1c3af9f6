#pragma once

#include <string>
#include <string_view>

// The path and query as a well-formed request target: controls, space,
// '"', '<', '>', '\', '^', '`', '{', '|', '}', DEL and every byte from 0x80
// become %XX (upper-case hex); every other byte, '%' of an existing escape
// included, is kept, so an address that is already well formed goes out as it is.
std::string EncodeRequestTarget(std::string_view target);

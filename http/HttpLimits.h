#pragma once

#include <cstddef>
#include <cstdint>

// Bounds that keep a hostile or broken server from exhausting memory.

// Longest status or header line, without its line end.
constexpr int64_t kMaxLineLength = 16384;
// All status and header lines of one call together.
constexpr int64_t kMaxHeaderBlockBytes = 1 << 20;
// One body, whatever its framing.
constexpr int64_t kMaxBodyBytes = int64_t{64} << 20;
// Largest amount taken from the connection by one receive.
constexpr int64_t kRecvBufferSize = 32768;
// Limit on every wait while the body of an error answer is read.
constexpr int kErrorBodyTimeoutMs = 2000;
// Longest header line that is set before it is folded.
constexpr size_t kHeaderFoldWidth = 1024;

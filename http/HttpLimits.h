#pragma once

#include <cstddef>
#include <cstdint>

// Bounds that keep a hostile, broken or silent server from exhausting memory
// or holding the window.

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
// Longest wait for a connect when ReadTimeout is 0.
constexpr int kConnectTimeoutMs = 5000;
// Longest silence while an answer is awaited or read when ReadTimeout is 0.
constexpr int kReadTimeoutMs = 15000;

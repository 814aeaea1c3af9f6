#pragma once

#include <cstddef>
#include <cstdint>

// Figures the service and its clients agree on, and the bounds it puts on requests.
namespace service_limits {

inline constexpr std::int64_t kRootCategoryId = 50100982;
// Products per batch document; the client shows a batch as two pages of 24.
inline constexpr std::int64_t kBatchSize = 48;
// Longest decimal id or offset accepted in a query; longer texts are refused with 400
// instead of overflowing.
inline constexpr std::size_t kMaxIdDigits = 18;
inline constexpr std::size_t kMaxOffsetDigits = 12;
// Longest Host header echoed into picture addresses.
inline constexpr std::size_t kMaxHostLength = 255;
// Connections are kept for the whole session of a client: one picture run alone is 24 requests.
inline constexpr std::int64_t kKeepAliveMaxRequests = 10000;
// A connection without traffic this long is closed, and so is one that has not delivered a
// complete request head this long after it opened or after its previous answer.
inline constexpr int kIdleSeconds = 10;
inline constexpr int kHeadSeconds = 10;
// Connections the kernel queues for the service before it accepts them.
inline constexpr int kListenBacklog = 1024;
inline constexpr unsigned kMaxConnections = 4096;
// A stop waits this long for answers in progress before it closes every connection.
inline constexpr int kStopGraceMilliseconds = 600;

} // namespace service_limits

#pragma once

// The socket layer reports failures with the classic socket error numbers
// (10061 for a refused connection, 11001 for an unknown host, ...): on
// Windows they are the system's own, elsewhere they are mapped to them, so the
// client's messages stay the same.
constexpr int kSocketInvalidArgument = 10022;
constexpr int kSocketTimedOut = 10060;
constexpr int kSocketHostNotFound = 11001;

#pragma once

// The system's socket calls under the loopback test server, one file per
// platform (posix/, windows/). Sockets are the system's numbers or handles
// held as signed integers; -1 is none.

#include <cstddef>
#include <cstdint>
#include <span>

namespace loopback_sockets {

// A stream socket listening on 127.0.0.1 at a free port, which port
// receives; throws, naming what, when it cannot.
intptr_t Listen(int backlog, int& port, const char* what);
// A stream socket connected to 127.0.0.1:port; -1 when it cannot be.
intptr_t Connect(int port);
// Two ends: the first becomes readable when Wake writes to the second.
void OpenWake(intptr_t ends[2]);
void Wake(intptr_t writing_end);
// Blocks until one of the sockets is readable (or closed): bit i set for
// sockets[i]; -1 on failure.
int WaitReadable(std::span<const intptr_t> sockets);
// The next connection, or -1.
intptr_t Accept(intptr_t listener);
// Bytes moved, 0 when the peer closed, -1 on failure; sending never raises SIGPIPE.
int64_t Send(intptr_t s, const char* bytes, size_t count);
int64_t Receive(intptr_t s, char* into, size_t count);
void Close(intptr_t s);
// Closed with a reset instead of an orderly end.
void CloseWithReset(intptr_t s);

} // namespace loopback_sockets

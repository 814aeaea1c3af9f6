#pragma once

// The socket layer reports failures with the classic socket error numbers
// (10061 for a refused connection, 11001 for an unknown host, ...), whatever
// the operating system calls them, so the client's messages stay the same.
constexpr int kSocketHostNotFound = 11001;

// Maps an operating-system error number (errno) to its socket error number;
// an unknown errno comes back unchanged.
int SocketErrorFromErrno(int errno_value);

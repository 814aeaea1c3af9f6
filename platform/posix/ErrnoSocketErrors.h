#pragma once

// Maps an operating-system error number (errno) to its classic socket error
// number (ECONNREFUSED to 10061, ...); an unknown errno comes back unchanged.
int SocketErrorFromErrno(int errno_value);

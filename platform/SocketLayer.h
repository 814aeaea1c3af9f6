#pragma once

// Keeps the system's socket library started while it lives: Windows Sockets
// 2.2 on Windows, nothing to start elsewhere. The HTTP client holds one, so
// the library starts with the client and ends when it goes; every socket
// opened under it must be closed first.
class SocketLayer {
public:
    SocketLayer();
    ~SocketLayer();
    SocketLayer(const SocketLayer&) = delete;
    SocketLayer& operator=(const SocketLayer&) = delete;

    // 0 when the library is running, else the system's error number.
    int StartError() const { return start_error_; }

private:
    int start_error_ = 0;
};

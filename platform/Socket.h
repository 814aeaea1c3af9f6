#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// One blocking IPv4 stream socket. Every failing call returns false or -1 and
// leaves its socket error number (platform/SocketErrors.h) in LastError().
// Sockets are used while a SocketLayer (platform/SocketLayer.h) lives.
class Socket {
public:
    enum class WaitResult { Readable, TimedOut, Failed };

    // Largest amount one Receive takes.
    static constexpr size_t kReceiveChunkBytes = 32768;

    Socket() = default;
    ~Socket();
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;

    // A fresh IPv4 stream socket; false when the system refuses one.
    bool Create();
    // Any local address, port 0.
    bool BindAny();
    // Dotted IPv4 address and port; blocks until connected or refused, at
    // most timeout_ms when it is >= 0 (then the error is 10060).
    bool Connect(const std::string& dotted, int port, int timeout_ms = -1);
    // Bytes accepted, or -1. Never raises SIGPIPE.
    int64_t Send(const void* bytes, size_t count);
    // timeout_ms < 0 waits without limit.
    WaitResult WaitReadable(int timeout_ms);
    // Up to count bytes (at most kReceiveChunkBytes); 0 when the peer has closed; -1 on failure.
    int64_t Receive(void* into, size_t count);
    // WaitReadable and Receive in one call (one system call where the wait
    // can be left to the receive): -1 with TimedOut when nothing came
    // within timeout_ms, -1 with Failed on failure. A socket that timed out
    // is only fit to be closed.
    int64_t ReceiveWithin(void* into, size_t count, int timeout_ms, WaitResult& wait);
    // Shuts down sending, then closes. Harmless when not open.
    void Close();

    bool IsOpen() const { return handle_ != kNoHandle; }
    int LastError() const { return last_error_; }

private:
    bool fail(int error)
    {
        last_error_ = error;
        return false;
    }

    // The system's descriptor or handle, held as a signed integer on every platform.
    static constexpr intptr_t kNoHandle = -1;
    intptr_t handle_ = kNoHandle;
    int last_error_ = 0;
    // The limit the system applies to receives now; none at first.
    int receive_limit_ms_ = -1;
};

// Host name to dotted IPv4 text. "localhost" in any letter case and a dotted
// quad are answered without a look-up. Returns 0 or the socket error number
// (kSocketHostNotFound when the name is unknown).
int ResolveHost(std::string_view host, std::string& dotted);

// True for four decimal numbers 0..255 joined by dots.
bool IsDottedQuad(std::string_view text);

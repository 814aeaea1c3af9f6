#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

// The byte pipe under one HTTP connection: a socket in the program, bytes in
// memory in tests and fuzzing. Failures come back as socket error numbers.
class ByteChannel {
public:
    struct IoResult {
        int64_t count = 0;  // bytes moved; 0 from Receive means the peer closed
        int error = 0;      // socket error number, 0 when none
    };
    enum class Wait { Readable, TimedOut, Failed };

    virtual ~ByteChannel() = default;
    virtual IoResult Send(std::span<const uint8_t> bytes) = 0;
    // timeout_ms < 0 waits without limit; Failed leaves the number in error.
    virtual Wait WaitReadable(int timeout_ms, int& error) = 0;
    virtual IoResult Receive(std::span<uint8_t> into) = 0;
    // WaitReadable, then Receive when the wait ends Readable; a channel
    // that can wait and receive in one step does so (a socket: one system
    // call instead of two, for every block of every answer).
    virtual IoResult ReceiveWithin(std::span<uint8_t> into, int timeout_ms, Wait& wait)
    {
        int error = 0;
        wait = WaitReadable(timeout_ms, error);
        return wait == Wait::Readable ? Receive(into) : IoResult{0, error};
    }
    // Shut down sending, then close.
    virtual void Close() = 0;
};

// Makes the channel for a new connection, or raises ENxSocketError /
// ENxInvalidSocket. A connect that takes longer than timeout_ms (< 0: no
// limit) fails with ENxSocketError 10060.
class ChannelOpener {
public:
    virtual ~ChannelOpener() = default;
    virtual std::unique_ptr<ByteChannel> Open(const std::string& host, int port, int timeout_ms) = 0;
};

// Opens TCP connections through the platform's sockets.
std::unique_ptr<ChannelOpener> MakeSocketOpener();

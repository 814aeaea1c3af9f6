#pragma once

#include "http/ByteChannel.h"
#include "http/HttpLimits.h"

#include <array>

#include <cstdint>
#include <memory>
#include <string>

class TMemoryStream;

// One client connection: the channel, the bytes received but not yet
// consumed, and whether the peer has closed. Reads lines and counted or
// unbounded runs of bytes; every connect and every wait for bytes is bounded
// by the limits set.
class HttpConnection {
public:
    explicit HttpConnection(ChannelOpener& opener) : opener_(opener) {}

    // A new channel to host:port within the connect limit; the input buffer
    // starts empty.
    void Open(const std::string& host, int port);
    bool Connected() const { return channel_ != nullptr; }
    // Shuts down sending and closes; harmless when not open.
    void Close();

    // Before reuse: takes what has already arrived without waiting, and
    // closes when the peer has closed.
    void CheckForDisconnect();
    // Acts on a close by the peer that an earlier receive has seen.
    void CloseIfPeerClosed();

    // Sends every byte, or raises ENxSocketError (ENxNotConnected when closed).
    void Write(const std::string& bytes);

    // One line without its CR LF or LF. Raises ENxReadLnMaxLineLengthExceeded
    // or ENxConnClosedGracefully.
    std::string ReadLn();
    // The next two bytes, which must be CR LF; raises ENxConnClosedGracefully
    // when the peer closes first, and false when they are other bytes.
    bool ReadCrLf();
    // Up to count bytes into the stream at its position, in blocks; returns
    // the bytes written, fewer when the peer closes first.
    int64_t ReadBytes(TMemoryStream& stream, int64_t count);
    // Everything until the peer closes, at most limit bytes (raises
    // ENxException when more come).
    void ReadUntilClose(TMemoryStream& stream, int64_t limit);

    // Limits in milliseconds; 0 or less waits without limit.
    void SetReadTimeout(int milliseconds) { read_timeout_ms_ = milliseconds; }
    int ReadTimeout() const { return read_timeout_ms_; }
    void SetConnectTimeout(int milliseconds) { connect_timeout_ms_ = milliseconds; }
    size_t Buffered() const { return buffer_.size() - consumed_; }
    // Bytes received on the current channel since it was opened.
    int64_t Received() const { return received_; }

private:
    // Receives once into the buffer after a wait; false when the peer has closed.
    bool receive_more();
    // One receive of at most kRecvBufferSize bytes, appended to the buffer.
    ByteChannel::IoResult receive_block(int timeout_ms, ByteChannel::Wait& wait);
    void compact();

    ChannelOpener& opener_;
    std::unique_ptr<ByteChannel> channel_;
    std::string buffer_;
    std::unique_ptr<std::array<uint8_t, kRecvBufferSize>> block_;
    size_t consumed_ = 0;
    bool closed_by_peer_ = false;
    int read_timeout_ms_ = 0;
    int connect_timeout_ms_ = 0;
    int64_t received_ = 0;
};

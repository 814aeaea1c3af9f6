#include "http/HttpConnection.h"

#include "base/TMemoryStream.h"
#include "http/HttpErrors.h"
#include "http/HttpLimits.h"

#include <algorithm>

namespace {

// Errors after which the socket is of no further use.
bool is_connection_lost(int error)
{
    return error == 10053 || error == 10058;
}

} // namespace

void HttpConnection::Open(const std::string& host, int port)
{
    Close();
    buffer_.clear();
    consumed_ = 0;
    closed_by_peer_ = false;
    received_ = 0;
    channel_ = opener_.Open(host, port, connect_timeout_ms_ > 0 ? connect_timeout_ms_ : -1);
}

void HttpConnection::Close()
{
    if (channel_) {
        channel_->Close();
        channel_.reset();
    }
}

void HttpConnection::CloseIfPeerClosed()
{
    if (closed_by_peer_)
        Close();
}

void HttpConnection::CheckForDisconnect()
{
    CloseIfPeerClosed();
    if (!channel_)
        return;
    // No waiting: an idle kept connection has nothing to say, and a close
    // that has already arrived is seen all the same.
    ByteChannel::Wait wait = ByteChannel::Wait::Readable;
    ByteChannel::IoResult got = receive_block(0, wait);
    if (wait == ByteChannel::Wait::TimedOut)
        return;
    if (wait == ByteChannel::Wait::Failed) {
        Close();
        return;
    }
    if (got.error != 0 || got.count == 0) {
        closed_by_peer_ = true;
        Close();
    }
}

void HttpConnection::Write(const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        if (!channel_)
            throw ENxNotConnected();
        auto rest = std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(bytes.data()) + done, bytes.size() - done);
        ByteChannel::IoResult sent = channel_->Send(rest);
        int error = sent.error != 0 ? sent.error : (sent.count <= 0 ? 10058 : 0);
        if (error != 0) {
            if (error == 10053 || error == 10054 || error == 10058)
                Close();
            throw ENxSocketError(error);
        }
        done += static_cast<size_t>(sent.count);
    }
}

ByteChannel::IoResult HttpConnection::receive_block(int timeout_ms, ByteChannel::Wait& wait)
{
    if (!block_)
        block_ = std::make_unique<std::array<uint8_t, kRecvBufferSize>>();
    ByteChannel::IoResult got = channel_->ReceiveWithin(*block_, timeout_ms, wait);
    if (wait == ByteChannel::Wait::Readable && got.error == 0 && got.count > 0) {
        received_ += got.count;
        compact();
        buffer_.append(reinterpret_cast<const char*>(block_->data()),
                       static_cast<size_t>(std::min<int64_t>(got.count, kRecvBufferSize)));
    }
    return got;
}

void HttpConnection::compact()
{
    if (consumed_ == buffer_.size()) {
        buffer_.clear();
        consumed_ = 0;
    } else if (consumed_ > 0 && consumed_ >= buffer_.size() / 2) {
        buffer_.erase(0, consumed_);
        consumed_ = 0;
    }
}

bool HttpConnection::receive_more()
{
    if (!channel_ || closed_by_peer_)
        return false;
    ByteChannel::Wait wait = ByteChannel::Wait::Readable;
    ByteChannel::IoResult got = receive_block(read_timeout_ms_ > 0 ? read_timeout_ms_ : -1, wait);
    if (wait == ByteChannel::Wait::TimedOut) {
        // A socket whose receive ran out its limit is fit only to be closed.
        Close();
        throw ENxReadTimeout();
    }
    if (got.error != 0) {
        if (!is_connection_lost(got.error))
            throw ENxSocketError(got.error);
        // The waiting bytes are still served; the loss shows as a close.
        closed_by_peer_ = true;
        Close();
        if (Buffered() == 0)
            throw ENxSocketError(got.error);
        return false;
    }
    if (got.count == 0) {
        closed_by_peer_ = true;
        return false;
    }
    return true;
}

std::string HttpConnection::ReadLn()
{
    size_t searched = 0;
    for (;;) {
        std::string_view pending(buffer_.data() + consumed_, buffer_.size() - consumed_);
        size_t lf = pending.find('\n', searched);
        if (lf != std::string_view::npos) {
            size_t length = lf > 0 && pending[lf - 1] == '\r' ? lf - 1 : lf;
            if (static_cast<int64_t>(length) > kMaxLineLength)
                throw ENxReadLnMaxLineLengthExceeded();
            std::string line(pending.substr(0, length));
            consumed_ += lf + 1;
            return line;
        }
        // One byte of slack for the CR of a line of full length.
        if (static_cast<int64_t>(pending.size()) > kMaxLineLength + 1)
            throw ENxReadLnMaxLineLengthExceeded();
        searched = pending.size();
        if (!receive_more())
            throw ENxConnClosedGracefully();
    }
}

bool HttpConnection::ReadCrLf()
{
    while (Buffered() < 2) {
        if (!receive_more())
            throw ENxConnClosedGracefully();
    }
    bool crlf = buffer_[consumed_] == '\r' && buffer_[consumed_ + 1] == '\n';
    consumed_ += 2;
    return crlf;
}

int64_t HttpConnection::ReadBytes(TMemoryStream& stream, int64_t count)
{
    int64_t written = 0;
    bool open = true;
    while (written < count && open) {
        int64_t block = std::min<int64_t>(count - written, kRecvBufferSize);
        while (static_cast<int64_t>(Buffered()) < block) {
            if (!receive_more()) {
                open = false;
                break;
            }
        }
        int64_t n = std::min<int64_t>(block, static_cast<int64_t>(Buffered()));
        stream.Write(buffer_.data() + consumed_, n);
        consumed_ += static_cast<size_t>(n);
        written += n;
    }
    compact();
    return written;
}

void HttpConnection::ReadUntilClose(TMemoryStream& stream, int64_t limit)
{
    int64_t written = 0;
    for (;;) {
        int64_t n = static_cast<int64_t>(Buffered());
        if (written + n > limit)
            throw ENxException::BodyTooLarge();
        stream.Write(buffer_.data() + consumed_, n);
        consumed_ += static_cast<size_t>(n);
        written += n;
        compact();
        if (!receive_more())
            return;
    }
}

#include "http/MemoryChannel.h"

#include "http/HttpErrors.h"

#include <algorithm>
#include <cstring>

MemoryChannel::MemoryChannel(std::vector<std::string> pieces, AtEnd at_end)
    : pieces_(pieces.begin(), pieces.end()), at_end_(at_end)
{
    // An empty piece would read as the peer's close.
    std::erase_if(pieces_, [](const std::string& p) { return p.empty(); });
}

ByteChannel::IoResult MemoryChannel::Send(std::span<const uint8_t> bytes)
{
    sent_->append(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return {static_cast<int64_t>(bytes.size()), 0};
}

ByteChannel::Wait MemoryChannel::WaitReadable(int timeout_ms, int& error)
{
    (void)error;
    waits_->push_back(timeout_ms);
    if (pieces_.empty() && receives_ < fail_after_ && at_end_ == AtEnd::StaySilent)
        return timeout_ms < 0 ? Wait::Readable : Wait::TimedOut;
    return Wait::Readable;
}

ByteChannel::IoResult MemoryChannel::Receive(std::span<uint8_t> into)
{
    if (receives_++ >= fail_after_)
        return {0, fail_error_};
    if (pieces_.empty())
        return {0, 0};
    std::string& piece = pieces_.front();
    size_t n = std::min(piece.size(), into.size());
    std::memcpy(into.data(), piece.data(), n);
    piece.erase(0, n);
    if (piece.empty())
        pieces_.pop_front();
    return {static_cast<int64_t>(n), 0};
}

std::unique_ptr<ByteChannel> MemoryOpener::Open(const std::string&, int, int timeout_ms)
{
    last_timeout_ms_ = timeout_ms;
    if (channels_.empty())
        throw ENxSocketError(10061);
    ++opened_;
    auto channel = std::move(channels_.front());
    channels_.pop_front();
    return channel;
}

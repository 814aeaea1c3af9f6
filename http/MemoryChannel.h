#pragma once

#include "http/ByteChannel.h"

#include <deque>
#include <string>
#include <vector>

// A connection whose peer is a script held in memory: each Receive hands out
// the next piece (cut to the size asked for); when the pieces are used up the
// peer closes, or stays silent so that timed waits expire. What is sent is
// recorded.
class MemoryChannel : public ByteChannel {
public:
    enum class AtEnd { Close, StaySilent };

    MemoryChannel(std::vector<std::string> pieces, AtEnd at_end = AtEnd::Close);

    IoResult Send(std::span<const uint8_t> bytes) override;
    Wait WaitReadable(int timeout_ms, int& error) override;
    IoResult Receive(std::span<uint8_t> into) override;
    void Close() override { closed_ = true; }

    const std::string& Sent() const { return *sent_; }
    // Outlives the channel, for tests that hand the channel away.
    std::shared_ptr<const std::string> SentLog() const { return sent_; }
    // The limit of every wait asked for, in order; outlives the channel.
    std::shared_ptr<const std::vector<int>> WaitLog() const { return waits_; }
    bool Closed() const { return closed_; }
    // After this many receives, the next one fails with the given number.
    void FailReceiveAfter(size_t receives, int error) { fail_after_ = receives; fail_error_ = error; }

private:
    std::deque<std::string> pieces_;
    AtEnd at_end_;
    std::shared_ptr<std::string> sent_ = std::make_shared<std::string>();
    std::shared_ptr<std::vector<int>> waits_ = std::make_shared<std::vector<int>>();
    bool closed_ = false;
    size_t receives_ = 0;
    size_t fail_after_ = SIZE_MAX;
    int fail_error_ = 0;
};

// Hands out prepared channels in turn; when none is left the connect is refused.
class MemoryOpener : public ChannelOpener {
public:
    void Push(std::unique_ptr<ByteChannel> channel) { channels_.push_back(std::move(channel)); }
    std::unique_ptr<ByteChannel> Open(const std::string& host, int port, int timeout_ms) override;
    size_t Opened() const { return opened_; }
    // The connect limit of the last open.
    int LastConnectTimeout() const { return last_timeout_ms_; }

private:
    int last_timeout_ms_ = 0;
    std::deque<std::unique_ptr<ByteChannel>> channels_;
    size_t opened_ = 0;
};

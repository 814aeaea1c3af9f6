#include "http/ByteChannel.h"

#include "http/HttpErrors.h"
#include "platform/Socket.h"
#include "platform/SocketLayer.h"

namespace {

ByteChannel::Wait wait_of(Socket::WaitResult result)
{
    switch (result) {
    case Socket::WaitResult::Readable: return ByteChannel::Wait::Readable;
    case Socket::WaitResult::TimedOut: return ByteChannel::Wait::TimedOut;
    case Socket::WaitResult::Failed: break;
    }
    return ByteChannel::Wait::Failed;
}

class SocketChannel : public ByteChannel {
public:
    explicit SocketChannel(std::unique_ptr<Socket> socket) : socket_(std::move(socket)) {}

    IoResult Send(std::span<const uint8_t> bytes) override
    {
        int64_t sent = socket_->Send(bytes.data(), bytes.size());
        return sent < 0 ? IoResult{0, socket_->LastError()} : IoResult{sent, 0};
    }

    Wait WaitReadable(int timeout_ms, int& error) override
    {
        const Wait wait = wait_of(socket_->WaitReadable(timeout_ms));
        if (wait == Wait::Failed)
            error = socket_->LastError();
        return wait;
    }

    IoResult Receive(std::span<uint8_t> into) override
    {
        int64_t got = socket_->Receive(into.data(), into.size());
        return got < 0 ? IoResult{0, socket_->LastError()} : IoResult{got, 0};
    }

    IoResult ReceiveWithin(std::span<uint8_t> into, int timeout_ms, Wait& wait) override
    {
        Socket::WaitResult result = Socket::WaitResult::Readable;
        const int64_t got = socket_->ReceiveWithin(into.data(), into.size(), timeout_ms, result);
        wait = wait_of(result);
        if (wait == Wait::TimedOut)
            return {0, 0};
        return got < 0 ? IoResult{0, socket_->LastError()} : IoResult{got, 0};
    }

    void Close() override { socket_->Close(); }

private:
    std::unique_ptr<Socket> socket_;
};

// Owns the system's socket library for the client that holds it: started
// when the client is made, ended after the client has closed its connection.
class SocketOpener : public ChannelOpener {
public:
    SocketOpener()
    {
        if (layer_.StartError() != 0)
            throw ENxStackInitializationFailed();
    }

    std::unique_ptr<ByteChannel> Open(const std::string& host, int port, int timeout_ms) override
    {
        auto socket = std::make_unique<Socket>();
        if (!socket->Create())
            throw ENxInvalidSocket();
        if (!socket->BindAny())
            throw ENxSocketError(socket->LastError());
        std::string dotted;
        if (int error = ResolveHost(host, dotted); error != 0)
            throw ENxSocketError(error);
        if (!socket->Connect(dotted, port, timeout_ms))
            throw ENxSocketError(socket->LastError());
        return std::make_unique<SocketChannel>(std::move(socket));
    }

private:
    SocketLayer layer_;
};

} // namespace

std::unique_ptr<ChannelOpener> MakeSocketOpener()
{
    return std::make_unique<SocketOpener>();
}

#include "platform/Socket.h"

#include "platform/HostLookUp.h"
#include "platform/SocketErrors.h"

// posix/ or windows/, whichever platform/CMakeLists.txt picked.
#include "SocketCalls.h"

#include <algorithm>
#include <chrono>

// The socket's rules (timed connects, waits, retries, look-ups) are kept
// here for every platform; SocketCalls.h makes each system call.

using namespace socket_calls;

namespace {

// Connects s to peer; with timeout_ms >= 0 the socket is non-blocking and
// the outcome is awaited here. Returns 0 or the socket error number.
int connect_and_wait(Native s, const sockaddr_in& peer, int timeout_ms)
{
    if (::connect(s, reinterpret_cast<const sockaddr*>(&peer), sizeof peer) == 0)
        return 0;
    if (!connect_pending())
        return last_error();
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms < 0 ? 0 : timeout_ms);
    for (;;) {
        int wait = -1;
        if (timeout_ms >= 0) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            wait = static_cast<int>(std::max<int64_t>(0, left.count()));
        }
        const int ready = wait_ready(s, true, wait);
        if (ready > 0)
            break;
        if (ready < 0 && !interrupted())
            return last_error();
        if (ready == 0 && std::chrono::steady_clock::now() >= deadline)
            return kSocketTimedOut;
    }
    return connect_outcome(s);
}

// A transfer made again while a signal cuts it short; its count, or -1
// with the error left for last_error.
template <class Transfer>
int64_t again_if_interrupted(Transfer transfer)
{
    for (;;) {
        const int64_t moved = transfer();
        if (moved >= 0 || !interrupted())
            return moved;
    }
}

} // namespace

Socket::~Socket()
{
    Close();
}

bool Socket::Create()
{
    Close();
    const intptr_t handle = open_stream();
    if (handle == kNoHandle)
        return fail(last_error());
    handle_ = handle;
    return true;
}

bool Socket::BindAny()
{
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    local.sin_port = 0;
    if (::bind(native(handle_), reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0)
        return fail(last_error());
    return true;
}

bool Socket::Connect(const std::string& dotted, int port, int timeout_ms)
{
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    if (port < 0 || port > 65535 || ::inet_pton(AF_INET, dotted.c_str(), &peer.sin_addr) != 1)
        return fail(kSocketInvalidArgument);
    peer.sin_port = htons(static_cast<uint16_t>(port));
    const Native s = native(handle_);
    // A timed connect runs without blocking and waits for its outcome.
    if (timeout_ms >= 0)
        if (const int error = set_blocking(s, false); error != 0)
            return fail(error);
    int error = connect_and_wait(s, peer, timeout_ms);
    if (timeout_ms >= 0)
        if (const int restored = set_blocking(s, true); restored != 0 && error == 0)
            error = restored;
    return error == 0 ? true : fail(error);
}

int64_t Socket::Send(const void* bytes, size_t count)
{
    const int64_t sent = again_if_interrupted([&] { return send_some(native(handle_), bytes, count); });
    if (sent < 0)
        fail(last_error());
    return sent;
}

Socket::WaitResult Socket::WaitReadable(int timeout_ms)
{
    for (;;) {
        const int ready = wait_ready(native(handle_), false, timeout_ms);
        if (ready > 0)
            return WaitResult::Readable;
        if (ready == 0)
            return WaitResult::TimedOut;
        // A signal during a timed wait restarts the whole limit; acceptable for a rare event.
        if (!interrupted()) {
            fail(last_error());
            return WaitResult::Failed;
        }
    }
}

int64_t Socket::Receive(void* into, size_t count)
{
    count = std::min(count, kReceiveChunkBytes);
    const int64_t got = again_if_interrupted([&] { return receive_some(native(handle_), into, count); });
    if (got < 0)
        fail(last_error());
    return got;
}

int64_t Socket::ReceiveWithin(void* into, size_t count, int timeout_ms, WaitResult& wait)
{
    if (timeout_ms == 0) {
        // A look without waiting, which the receive's limit cannot express.
        wait = WaitReadable(0);
        return wait == WaitResult::Readable ? Receive(into, count) : -1;
    }
    wait = WaitResult::Readable;
    const Native s = native(handle_);
    const int limit = timeout_ms < 0 ? -1 : timeout_ms;
    if (limit != receive_limit_ms_) {
        if (const int error = set_receive_limit(s, limit); error != 0) {
            wait = WaitResult::Failed;
            fail(error);
            return -1;
        }
        receive_limit_ms_ = limit;
    }
    count = std::min(count, kReceiveChunkBytes);
    const int64_t got = again_if_interrupted([&] { return receive_some(s, into, count); });
    if (got < 0) {
        if (receive_timed_out()) {
            wait = WaitResult::TimedOut;
        } else {
            wait = WaitResult::Failed;
            fail(last_error());
        }
    }
    return got;
}

void Socket::Close()
{
    if (handle_ == kNoHandle)
        return;
    shut_and_close(native(handle_));
    handle_ = kNoHandle;
    receive_limit_ms_ = -1;
}

int LookUpHost(const std::string& name, std::string& dotted)
{
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (const int code = ::getaddrinfo(name.c_str(), nullptr, &hints, &found); code != 0)
        return look_up_error(code);
    int result = kSocketHostNotFound;
    for (addrinfo* a = found; a != nullptr; a = a->ai_next) {
        if (a->ai_family != AF_INET)
            continue;
        char text[INET_ADDRSTRLEN] = {};
        auto* address = reinterpret_cast<sockaddr_in*>(a->ai_addr);
        if (::inet_ntop(AF_INET, &address->sin_addr, text, sizeof text) != nullptr) {
            dotted = text;
            result = 0;
            break;
        }
    }
    ::freeaddrinfo(found);
    return result;
}

#include "server/CatalogueService.h"

#include "server/Acceptor.h"
#include "server/AccessLog.h"
#include "server/CatalogueDocuments.h"
#include "server/ListenSocket.h"
#include "server/ServerErrors.h"
#include "server/ServiceAnswers.h"

#include <microhttpd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <ctime>
#include <mutex>
#include <thread>
#include <unordered_set>

namespace {

using Clock = std::chrono::steady_clock;

// What the service keeps of one client connection, from its opening to its close.
struct Connection {
    int fd = -1;
    std::string client;
    // Under Impl::watch_mutex.
    Clock::time_point head_deadline;
    bool busy = false; // a complete head has come; its answer is not sent yet
    bool cut = false;
    // Used by the one service thread that serves the connection.
    std::string target;
    bool head_seen = false;
    std::int64_t requests = 0;
};

std::string header_value(MHD_Connection* connection, const char* name)
{
    const char* value = MHD_lookup_connection_value(connection, MHD_HEADER_KIND, name);
    return value ? value : "";
}

MHD_Result keep_first_argument(void* cls, MHD_ValueKind, const char* key, const char* value)
{
    auto& query = *static_cast<std::map<std::string, std::string>*>(cls);
    try {
        if (key)
            query.emplace(key, value ? value : "");
    } catch (...) {
        return MHD_NO;
    }
    return MHD_YES;
}

} // namespace

struct CatalogueService::Impl {
    const CatalogueStore& store;
    ServiceSettings settings;
    std::string address = "127.0.0.1";
    int port = 0;
    ListenSocket listener;
    // The library never holds the listening socket: quiescing it races the library's own
    // threads over their epoll sets and can abort the process.
    Acceptor acceptor{service_limits::kMaxConnections};
    std::unique_ptr<ServiceAnswers> answers;
    std::function<void(const std::string&, const std::string&)> request_log;
    std::function<void(const AccessEntry&)> access_log;
    std::string keep_alive_hint;

    // Run and Stop meet here: a stop that comes before the service is running must still end it.
    std::mutex run_mutex;
    std::condition_variable run_wake;
    bool stop_requested = false;
    std::atomic<bool> stopping{false};

    // Every open connection, for the sweep that ends late heads and for the stop.
    std::mutex watch_mutex;
    std::condition_variable watch_wake;
    std::unordered_set<Connection*> connections;
    bool sweep_done = false;

    Impl(const CatalogueStore& s, ServiceSettings c) : store(s), settings(c) {}

    std::string UrlHost() const
    {
        std::string host = address;
        if (host == "0.0.0.0")
            host = "127.0.0.1";
        else if (host == "::")
            host = "::1";
        if (host.find(':') != std::string::npos)
            host = "[" + host + "]";
        return host + ":" + std::to_string(port);
    }

    Clock::time_point HeadDeadline() const { return Clock::now() + std::chrono::seconds(settings.head_timeout_seconds); }

    void Opened(MHD_Connection* mhd, void** context)
    {
        auto connection = std::make_unique<Connection>();
        if (const MHD_ConnectionInfo* info = MHD_get_connection_info(mhd, MHD_CONNECTION_INFO_CONNECTION_FD))
            connection->fd = info->connect_fd;
        if (access_log)
            if (const MHD_ConnectionInfo* info = MHD_get_connection_info(mhd, MHD_CONNECTION_INFO_CLIENT_ADDRESS))
                connection->client = address_text(info->client_addr);
        connection->head_deadline = HeadDeadline();
        std::lock_guard lock(watch_mutex);
        connections.insert(connection.get());
        *context = connection.release();
    }

    void Closed(void** context)
    {
        acceptor.Released();
        std::unique_ptr<Connection> connection(static_cast<Connection*>(*context));
        *context = nullptr;
        if (!connection)
            return;
        std::lock_guard lock(watch_mutex);
        connections.erase(connection.get());
        watch_wake.notify_all();
    }

    static Connection* ConnectionOf(MHD_Connection* mhd)
    {
        const MHD_ConnectionInfo* info = MHD_get_connection_info(mhd, MHD_CONNECTION_INFO_SOCKET_CONTEXT);
        return info ? static_cast<Connection*>(info->socket_context) : nullptr;
    }

    // The request line has come: its raw target is kept for the logs.
    void* Started(const char* uri, MHD_Connection* mhd)
    {
        Connection* connection = ConnectionOf(mhd);
        if (connection) {
            connection->target = uri ? uri : "";
            connection->head_seen = false;
        }
        return connection;
    }

    void Completed(void** request_context)
    {
        auto* connection = static_cast<Connection*>(*request_context);
        if (!connection)
            return;
        std::lock_guard lock(watch_mutex);
        connection->busy = false;
        connection->head_deadline = HeadDeadline();
    }

    MHD_Result Handle(MHD_Connection* mhd, const char* url, const char* method, const char* version,
                      std::size_t* upload_size, Connection& connection)
    {
        if (!connection.head_seen) {
            connection.head_seen = true;
            {
                std::lock_guard lock(watch_mutex);
                connection.busy = true;
            }
            if (request_log)
                request_log(method, connection.target);
            return MHD_YES;
        }
        // Nothing here takes a body: it is read and dropped, so the connection stays usable.
        if (*upload_size != 0) {
            *upload_size = 0;
            return MHD_YES;
        }
        ServiceRequest request;
        request.method = method;
        request.path = url;
        MHD_get_connection_values(mhd, MHD_GET_ARGUMENT_KIND, keep_first_argument, &request.query);
        request.host = header_value(mhd, MHD_HTTP_HEADER_HOST);
        request.cookie = header_value(mhd, MHD_HTTP_HEADER_COOKIE);
        request.range = header_value(mhd, MHD_HTTP_HEADER_RANGE);
        const ServiceAnswer answer = answers->Answer(request);

        MHD_Response* response = MHD_create_response_from_buffer(
            answer.body.size(), const_cast<char*>(answer.body.data()), MHD_RESPMEM_MUST_COPY);
        if (!response)
            return MHD_NO;
        if (!answer.content_type.empty())
            MHD_add_response_header(response, MHD_HTTP_HEADER_CONTENT_TYPE, answer.content_type.c_str());
        for (const auto& [name, value] : answer.headers)
            MHD_add_response_header(response, name.c_str(), value.c_str());
        MHD_add_response_header(response, "Keep-Alive", keep_alive_hint.c_str());
        if (++connection.requests >= service_limits::kKeepAliveMaxRequests || stopping)
            MHD_add_response_header(response, MHD_HTTP_HEADER_CONNECTION, "close");
        const MHD_Result queued = MHD_queue_response(mhd, static_cast<unsigned>(answer.status), response);
        MHD_destroy_response(response);
        if (access_log)
            access_log({connection.client, method, connection.target, version, answer.status,
                        std::string_view(method) == "HEAD" ? 0 : static_cast<std::int64_t>(answer.body.size())});
        return queued;
    }

    // Ends connections that keep the service waiting for a head past their deadline and,
    // once stopping, every connection not in the middle of an answer.
    void Sweep()
    {
        const auto tick = std::chrono::milliseconds(std::clamp(settings.head_timeout_seconds * 100, 10, 100));
        std::unique_lock lock(watch_mutex);
        while (!sweep_done) {
            watch_wake.wait_for(lock, stopping ? std::chrono::milliseconds(5) : tick);
            const auto now = Clock::now();
            for (Connection* connection : connections)
                if (!connection->busy && !connection->cut && (stopping || now >= connection->head_deadline)) {
                    connection->cut = true;
                    shut_connection(connection->fd);
                }
        }
    }

    // The library's callbacks; no exception leaves them.
    static Impl& Of(void* cls) { return *static_cast<Impl*>(cls); }

    static void OnConnection(void* cls, MHD_Connection* connection, void** context,
                             MHD_ConnectionNotificationCode code)
    {
        try {
            if (code == MHD_CONNECTION_NOTIFY_STARTED)
                Of(cls).Opened(connection, context);
            else
                Of(cls).Closed(context);
        } catch (...) {
        }
    }

    static void* OnRequestLine(void* cls, const char* uri, MHD_Connection* connection)
    {
        try {
            return Of(cls).Started(uri, connection);
        } catch (...) {
            return nullptr;
        }
    }

    static void OnCompleted(void* cls, MHD_Connection*, void** request_context, MHD_RequestTerminationCode)
    {
        try {
            Of(cls).Completed(request_context);
        } catch (...) {
        }
    }

    static MHD_Result OnRequest(void* cls, MHD_Connection* connection, const char* url, const char* method,
                                const char* version, const char*, std::size_t* upload_size, void** request_context)
    {
        auto* state = static_cast<Connection*>(*request_context);
        if (!state)
            return MHD_NO;
        try {
            return Of(cls).Handle(connection, url, method, version, upload_size, *state);
        } catch (...) {
            return MHD_NO;
        }
    }

    void Serve();
};

void CatalogueService::Impl::Serve()
{
    const unsigned threads = settings.threads != 0 ? settings.threads
                                                   : std::max(2u, std::thread::hardware_concurrency());
    keep_alive_hint = "timeout=" + std::to_string(settings.idle_timeout_seconds) +
                      ", max=" + std::to_string(service_limits::kKeepAliveMaxRequests);
    // Connections come from the acceptor, which keeps their number within the limit (the ITC
    // wakes the worker given one). Each worker may take that many, so none refuses one.
    // No Date header: the answers stay as they were before this layer.
    const unsigned flags =
        MHD_USE_EPOLL_INTERNAL_THREAD | MHD_USE_ITC | MHD_USE_NO_LISTEN_SOCKET | MHD_USE_SUPPRESS_DATE_NO_CLOCK;
    MHD_Daemon* daemon = MHD_start_daemon(
        flags, 0, nullptr, nullptr, OnRequest, this, MHD_OPTION_THREAD_POOL_SIZE, threads,
        MHD_OPTION_CONNECTION_TIMEOUT, static_cast<unsigned>(settings.idle_timeout_seconds),
        MHD_OPTION_CONNECTION_LIMIT, service_limits::kMaxConnections * threads, MHD_OPTION_NOTIFY_CONNECTION,
        OnConnection, this, MHD_OPTION_NOTIFY_COMPLETED, OnCompleted, this, MHD_OPTION_URI_LOG_CALLBACK,
        OnRequestLine, this, MHD_OPTION_END);
    if (!daemon)
        throw EServerSetupError::CannotServe();
    acceptor.Start(listener.Fd(), [daemon](int fd, const sockaddr* peer, unsigned peer_size) {
        return MHD_add_connection(daemon, fd, peer, static_cast<socklen_t>(peer_size)) == MHD_YES;
    });
    std::thread sweeper([this] { Sweep(); });

    {
        std::unique_lock lock(run_mutex);
        run_wake.wait(lock, [this] { return stop_requested; });
    }
    // No more connections: new ones are refused from here on.
    acceptor.Stop();
    listener.Close();
    {
        std::unique_lock lock(watch_mutex);
        stopping = true;
        watch_wake.notify_all();
        watch_wake.wait_for(lock, std::chrono::milliseconds(service_limits::kStopGraceMilliseconds),
                            [this] { return connections.empty(); });
    }
    MHD_stop_daemon(daemon);
    {
        std::lock_guard lock(watch_mutex);
        sweep_done = true;
        watch_wake.notify_all();
    }
    sweeper.join();
}

CatalogueService::CatalogueService(const CatalogueStore& store, ServiceSettings settings)
    : impl_(std::make_unique<Impl>(store, settings))
{
}

CatalogueService::~CatalogueService() = default;

void CatalogueService::SetRequestLog(std::function<void(const std::string& method, const std::string& target)> log)
{
    impl_->request_log = std::move(log);
}

void CatalogueService::SetAccessLog(std::function<void(const AccessEntry& entry)> log)
{
    impl_->access_log = std::move(log);
}

int CatalogueService::Bind(const std::string& address, int port)
{
    impl_->listener = ListenSocket::Open(address, port, service_limits::kListenBacklog);
    impl_->address = address;
    impl_->port = impl_->listener.Port();
    impl_->answers = std::make_unique<ServiceAnswers>(impl_->store, impl_->UrlHost());
    return impl_->port;
}

std::string CatalogueService::BaseUrl() const
{
    return "http://" + impl_->UrlHost() + std::string(catalogue_documents::kServicePath);
}

void CatalogueService::Run()
{
    {
        std::lock_guard lock(impl_->run_mutex);
        if (impl_->stop_requested)
            return;
    }
    impl_->Serve();
}

void CatalogueService::Stop()
{
    std::lock_guard lock(impl_->run_mutex);
    impl_->stop_requested = true;
    impl_->run_wake.notify_all();
}

#pragma once

#include "server/ServiceLimits.h"

#include <functional>
#include <memory>
#include <string>

class CatalogueStore;
struct AccessEntry;

struct ServiceSettings {
    int idle_timeout_seconds = service_limits::kIdleSeconds;
    int head_timeout_seconds = service_limits::kHeadSeconds;
    unsigned threads = 0; // 0: one per processor, at least two
};

// The catalogue web service over one catalogue file: category lists, product batches,
// pictures and product pages under /kestrid/. Event-driven: a few threads serve every
// connection, so slow and idle clients only cost their sockets.
class CatalogueService {
public:
    explicit CatalogueService(const CatalogueStore& store, ServiceSettings settings = {});
    ~CatalogueService();
    CatalogueService(const CatalogueService&) = delete;
    CatalogueService& operator=(const CatalogueService&) = delete;

    // Takes the address; port 0 picks a free port. Returns the port taken.
    int Bind(const std::string& address, int port);
    // "http://ADDRESS:PORT/kestrid/", valid after Bind.
    std::string BaseUrl() const;
    // Answers requests until Stop is called; connections made after Bind wait in the
    // backlog until then. On Stop it accepts no more, lets answers in progress finish,
    // closes every other connection and returns.
    void Run();
    // Safe from any thread, also before Run.
    void Stop();

    // Called with the method and the request target of every request received, before it
    // is answered, on the service's threads. Set it before Run.
    void SetRequestLog(std::function<void(const std::string& method, const std::string& target)> log);
    // Called once the answer of a request is made, on the service's threads. Set it before Run.
    void SetAccessLog(std::function<void(const AccessEntry& entry)> log);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

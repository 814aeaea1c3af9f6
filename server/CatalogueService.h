#pragma once

#include <functional>
#include <memory>
#include <string>

class CatalogueStore;

// The catalogue web service over one catalogue file: category lists, product batches,
// pictures and product pages under /kestrid/.
class CatalogueService {
public:
    explicit CatalogueService(const CatalogueStore& store);
    ~CatalogueService();
    CatalogueService(const CatalogueService&) = delete;
    CatalogueService& operator=(const CatalogueService&) = delete;

    // Takes the address; port 0 picks a free port. Returns the port taken.
    int Bind(const std::string& address, int port);
    // "http://ADDRESS:PORT/kestrid/", valid after Bind.
    std::string BaseUrl() const;
    // Answers requests until Stop is called; connections made after Bind wait in the
    // backlog until then.
    void Run();
    // Safe from any thread, also before Run.
    void Stop();

    // Called with the method and the request target of every request received,
    // on the service's threads. Set it before Run.
    void SetRequestLog(std::function<void(const std::string& method, const std::string& target)> log);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

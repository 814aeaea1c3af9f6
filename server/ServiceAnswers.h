#pragma once

#include "server/SessionCookie.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

class CatalogueStore;

// A request as the service reads it, whatever HTTP layer received it.
struct ServiceRequest {
    std::string method;
    std::string path; // percent-decoded, without the query
    // The first value of each query name; a name without '=' has an empty value.
    std::map<std::string, std::string> query;
    // Header values, empty when the header is absent.
    std::string host;
    std::string cookie;
    std::string range;
};

struct ServiceAnswer {
    int status = 200;
    std::string content_type; // empty: no Content-Type header
    std::string body;
    // Headers beside Content-Type and Content-Length, in name order.
    std::vector<std::pair<std::string, std::string>> headers;
};

// What the catalogue service answers to each request: category lists, product batches,
// pictures, product pages and redirects under /kestrid/, the session cookie, byte ranges.
class ServiceAnswers {
public:
    // url_host: the service's own "HOST:PORT", used when the Host header is unusable.
    ServiceAnswers(const CatalogueStore& store, std::string url_host);

    // Never throws: a catalogue file failing under a request costs that request a 500.
    ServiceAnswer Answer(const ServiceRequest& request);

private:
    ServiceAnswer Route(const ServiceRequest& request) const;
    ServiceAnswer Get(const ServiceRequest& request) const;
    std::string HostOf(const ServiceRequest& request) const;

    const CatalogueStore& store_;
    std::string url_host_;
    SessionIds sessions_;
};

#include "server/CatalogueService.h"

#include "server/CatalogueDocuments.h"
#include "server/CatalogueStore.h"
#include "server/ProductPage.h"
#include "server/RequestText.h"
#include "server/ServerErrors.h"
#include "server/ServiceLimits.h"
#include "server/SessionCookie.h"

#include <httplib.h>

#include <mutex>
#include <thread>

namespace {

constexpr const char* kJsonType = "application/json; charset=utf-8";
constexpr const char* kHtmlType = "text/html; charset=utf-8";
constexpr const char* kTextType = "text/plain; charset=utf-8";

void bad_request(httplib::Response& res, std::string_view why)
{
    res.status = 400;
    res.set_content("bad request: " + std::string(why) + "\n", kTextType);
}

// The decimal query value, or none after a 400 answer has been set.
std::optional<std::int64_t> query_number(const httplib::Request& req, httplib::Response& res, const char* name,
                                         std::size_t max_digits)
{
    if (!req.has_param(name)) {
        bad_request(res, std::string(name) + " is missing");
        return std::nullopt;
    }
    const auto value = parse_decimal(req.get_param_value(name), max_digits);
    if (!value)
        bad_request(res, std::string(name) + " is not a decimal number");
    return value;
}

std::string status_text(int status)
{
    const char* reason = status == 400   ? "Bad Request"
                         : status == 404 ? "Not Found"
                         : status == 405 ? "Method Not Allowed"
                         : status == 416 ? "Range Not Satisfiable"
                                         : "Error";
    return std::to_string(status) + " " + reason + "\n";
}

} // namespace

struct CatalogueService::Impl {
    const CatalogueStore& store;
    httplib::Server server;
    std::string address = "127.0.0.1";
    int port = 0;
    SessionIds sessions;
    // Run and Stop meet here: a stop that comes before the server is running must still end it.
    enum class RunState { NotStarted, Running, Done };
    std::mutex run_mutex;
    RunState run_state = RunState::NotStarted;
    bool stop_requested = false;

    explicit Impl(const CatalogueStore& s) : store(s) {}

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

    std::string HostOf(const httplib::Request& req) const
    {
        return usable_host(req.get_header_value("Host"), UrlHost());
    }

    void Categories(const httplib::Request& req, httplib::Response& res) const
    {
        const auto cq = query_number(req, res, "cq", service_limits::kMaxIdDigits);
        if (!cq)
            return;
        res.set_content(category_document(store.Children(*cq)), kJsonType);
    }

    void Batch(const httplib::Request& req, httplib::Response& res) const
    {
        const auto cq = query_number(req, res, "cq", service_limits::kMaxIdDigits);
        if (!cq)
            return;
        const auto cp = query_number(req, res, "cp", service_limits::kMaxOffsetDigits);
        if (!cp)
            return;
        BatchAnswer batch;
        batch.subcategory_id = *cq;
        batch.offset = *cp;
        batch.total = store.ProductCount(*cq);
        const std::int64_t first = batch_first_index(*cp);
        if (first < batch.total)
            batch.products = store.Products(*cq, first, service_limits::kBatchSize);
        res.set_content(batch_document(batch, HostOf(req)), kJsonType);
    }

    void Page(const httplib::Request& req, httplib::Response& res) const
    {
        const auto cid = query_number(req, res, "cid", service_limits::kMaxIdDigits);
        if (!cid)
            return;
        const auto product = store.Product(*cid);
        if (!product) {
            res.status = 404;
            res.set_content(missing_product_page_html(*cid), kHtmlType);
            return;
        }
        res.set_content(product_page_html(*product, HostOf(req)), kHtmlType);
    }

    // The detail address in the batch documents leads to the product page.
    void Detail(const httplib::Request& req, httplib::Response& res) const
    {
        const auto id = query_number(req, res, "id", service_limits::kMaxIdDigits);
        if (!id)
            return;
        res.set_redirect(std::string(catalogue_documents::kServicePath) + "index.php?cid=" + std::to_string(*id));
    }

    void Picture(const httplib::Request& req, httplib::Response& res) const
    {
        const auto id = parse_decimal(req.matches[1].str(), service_limits::kMaxIdDigits);
        const auto bytes = id ? store.Picture(*id) : std::nullopt;
        if (!bytes) {
            res.status = 404;
            res.set_content("no such picture\n", kTextType);
            return;
        }
        res.set_content(*bytes, "image/jpeg");
    }

    void Routes()
    {
        server.Get(R"(/kestrid/ide\.php)", [this](const auto& req, auto& res) { Categories(req, res); });
        server.Get(R"(/kestrid/idf\.php)", [this](const auto& req, auto& res) { Batch(req, res); });
        server.Get(R"(/kestrid/index\.php)", [this](const auto& req, auto& res) { Page(req, res); });
        server.Get(R"(/kestrid/item\.php)", [this](const auto& req, auto& res) { Detail(req, res); });
        server.Get(R"(/kestrid/pic/([0-9]+)\.jpg)", [this](const auto& req, auto& res) { Picture(req, res); });

        // Everything is read-only: other methods are refused, naming the ones that work.
        const auto refuse = [](const httplib::Request&, httplib::Response& res) {
            res.status = 405;
            res.set_header("Allow", "GET, HEAD");
            res.set_content("method not allowed\n", kTextType);
        };
        server.Post(".*", refuse);
        server.Put(".*", refuse);
        server.Patch(".*", refuse);
        server.Delete(".*", refuse);
        server.Options(".*", [](const httplib::Request&, httplib::Response& res) {
            res.set_header("Allow", "GET, HEAD, OPTIONS");
        });

        server.set_error_handler([](const httplib::Request&, httplib::Response& res) {
            if (res.body.empty())
                res.set_content(status_text(res.status), kTextType);
        });
        // A catalogue file that fails under a request costs that request, not the service.
        server.set_exception_handler([](const httplib::Request&, httplib::Response& res, std::exception_ptr error) {
            std::string reason = "internal error";
            try {
                std::rethrow_exception(error);
            } catch (const std::exception& e) {
                reason = e.what();
            } catch (...) {
            }
            res.status = 500;
            res.set_content(reason + "\n", kTextType);
        });
        server.set_post_routing_handler([this](const httplib::Request& req, httplib::Response& res) {
            if (!sessions.Carries(req.get_header_value("Cookie")))
                res.set_header("Set-Cookie", sessions.NewCookie());
        });
        // Head and body go out in separate writes; with Nagle on, the body would
        // wait for the client's delayed acknowledgement of the head.
        server.set_tcp_nodelay(true);
        server.set_keep_alive_max_count(service_limits::kKeepAliveMaxRequests);
        server.set_keep_alive_timeout(service_limits::kKeepAliveSeconds);
    }
};

CatalogueService::CatalogueService(const CatalogueStore& store) : impl_(std::make_unique<Impl>(store))
{
    impl_->Routes();
}

CatalogueService::~CatalogueService() = default;

void CatalogueService::SetRequestLog(std::function<void(const std::string& method, const std::string& target)> log)
{
    // Before routing, so the entry exists by the time the client has its answer.
    impl_->server.set_pre_routing_handler([log = std::move(log)](const httplib::Request& req, httplib::Response&) {
        log(req.method, req.target);
        return httplib::Server::HandlerResponse::Unhandled;
    });
}

int CatalogueService::Bind(const std::string& address, int port)
{
    impl_->address = address;
    if (port == 0) {
        const int taken = impl_->server.bind_to_any_port(address);
        if (taken <= 0)
            throw EServerSetupError::CannotListen(address, port);
        impl_->port = taken;
    } else {
        if (!impl_->server.bind_to_port(address, port))
            throw EServerSetupError::CannotListen(address, port);
        impl_->port = port;
    }
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
        impl_->run_state = Impl::RunState::Running;
    }
    impl_->server.listen_after_bind();
    std::lock_guard lock(impl_->run_mutex);
    impl_->run_state = Impl::RunState::Done;
}

void CatalogueService::Stop()
{
    for (;;) {
        {
            std::lock_guard lock(impl_->run_mutex);
            impl_->stop_requested = true;
            if (impl_->run_state != Impl::RunState::Running)
                return;
            if (impl_->server.is_running())
                break;
        }
        // Run has begun but the accept loop is not up yet: a matter of instructions.
        std::this_thread::yield();
    }
    impl_->server.stop();
}

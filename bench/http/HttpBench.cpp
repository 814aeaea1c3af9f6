// One client object fetching 25 bodies of 20 KB in turn from a loopback
// server with keep-alive, beside libcurl with one reused easy handle fetching
// the same URLs from the same server. Connections opened are counters.
#include "base/TMemoryStream.h"
#include "http/http_client.h"

#include <benchmark/benchmark.h>
#include <curl/curl.h>
#include <httplib.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int kBodies = 25;
constexpr size_t kBodyBytes = 20 * 1024;

class BenchServer {
public:
    BenchServer()
    {
        body_.resize(kBodyBytes);
        for (size_t i = 0; i < body_.size(); ++i)
            body_[i] = static_cast<char>('a' + i % 26);
        server_.set_keep_alive_max_count(1000000);
        // Headers and body go out in separate writes; without this the
        // server waits on the client's delayed ACK and both clients measure that.
        server_.set_tcp_nodelay(true);
        server_.Get(R"(/pic/(\d+)\.jpg)", [this](const httplib::Request&, httplib::Response& response) {
            response.set_content(body_, "image/jpeg");
        });
        port_ = server_.bind_to_any_port("127.0.0.1");
        thread_ = std::thread([this] { server_.listen_after_bind(); });
        for (int i = 0; i < kBodies; ++i)
            urls_.push_back("http://127.0.0.1:" + std::to_string(port_) + "/pic/" + std::to_string(i) + ".jpg");
    }
    ~BenchServer()
    {
        server_.stop();
        thread_.join();
    }
    const std::vector<std::string>& Urls() const { return urls_; }

private:
    httplib::Server server_;
    std::string body_;
    int port_ = 0;
    std::thread thread_;
    std::vector<std::string> urls_;
};

BenchServer& server()
{
    static BenchServer instance;
    return instance;
}

void BM_TNxHTTP_25x20KB(benchmark::State& state)
{
    const auto& urls = server().Urls();
    TNxHTTP http;
    int64_t bytes = 0;
    for (auto _ : state) {
        for (const auto& url : urls) {
            TMemoryStream stream;
            http.Get(url, stream);
            bytes += stream.Size();
        }
    }
    state.SetBytesProcessed(bytes);
    state.counters["connections"] = static_cast<double>(http.ConnectionsOpened());
}

size_t collect(char* data, size_t size, size_t count, void* user)
{
    static_cast<std::string*>(user)->append(data, size * count);
    return size * count;
}

void BM_libcurl_25x20KB(benchmark::State& state)
{
    const auto& urls = server().Urls();
    std::unique_ptr<CURL, void (*)(CURL*)> curl(curl_easy_init(), curl_easy_cleanup);
    std::string body;
    curl_easy_setopt(curl.get(), CURLOPT_WRITEFUNCTION, collect);
    curl_easy_setopt(curl.get(), CURLOPT_WRITEDATA, &body);
    int64_t bytes = 0;
    long connections = 0;
    for (auto _ : state) {
        for (const auto& url : urls) {
            body.clear();
            curl_easy_setopt(curl.get(), CURLOPT_URL, url.c_str());
            if (curl_easy_perform(curl.get()) != CURLE_OK) {
                state.SkipWithError("libcurl transfer failed");
                return;
            }
            long opened = 0;
            curl_easy_getinfo(curl.get(), CURLINFO_NUM_CONNECTS, &opened);
            connections += opened;
            bytes += static_cast<int64_t>(body.size());
        }
    }
    state.SetBytesProcessed(bytes);
    state.counters["connections"] = static_cast<double>(connections);
}

BENCHMARK(BM_TNxHTTP_25x20KB)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_libcurl_25x20KB)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    curl_global_init(CURL_GLOBAL_DEFAULT);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    curl_global_cleanup();
    return 0;
}

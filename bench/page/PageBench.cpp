// Form1 on the offscreen platform browsing the stand-in catalogue service on
// loopback: start-up, an even page flip (batch and 24 pictures) after the first
// press, an odd page flip (24 pictures); beside libcurl fetching the same URLs
// over one reused connection. Resident memory over 300 page flips is a counter.
#include "app/main_window.h"
#include "base/TMemoryStream.h"
#include "catalogue/catalogue.h"
#include "json/json.h"
#include "server/CatalogueService.h"
#include "server/CatalogueStore.h"

#include <benchmark/benchmark.h>
#include <curl/curl.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

// The subcategory of 310 products: six full batches before the last.
const std::string kSubcategory = "50200010";
constexpr int kFullBatchPages = 12;

class Service {
public:
    Service()
    {
        folder_ = std::filesystem::temp_directory_path() / ("tavrin-page-bench-" + std::to_string(getpid()));
        std::filesystem::create_directories(folder_);
        store_ = CatalogueStore::OpenOrCreate(folder_ / "catalogue.db");
        service_ = std::make_unique<CatalogueService>(*store_);
        port_ = service_->Bind("127.0.0.1", 0);
        thread_ = std::thread([this] { service_->Run(); });
    }
    ~Service()
    {
        service_->Stop();
        thread_.join();
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    std::string BaseUrl() const { return "http://127.0.0.1:" + std::to_string(port_) + "/kestrid/"; }

private:
    std::filesystem::path folder_;
    std::unique_ptr<CatalogueStore> store_;
    std::unique_ptr<CatalogueService> service_;
    std::thread thread_;
    int port_ = 0;
};

Service& service()
{
    static Service instance;
    return instance;
}

std::unique_ptr<TForm1> open_window()
{
    ResetCatalogueState();
    CatalogueBaseUrl = service().BaseUrl();
    auto form = std::make_unique<TForm1>();
    form->DoCreate();
    return form;
}

// The first press: from then on every page downloads all its pictures.
std::unique_ptr<TForm1> open_window_after_first_press()
{
    auto form = open_window();
    form->gridshowinfo->SetRow(0);
    gridshowinfoMouseDown(*form);
    return form;
}

void show_page(TForm1& form, int page)
{
    ShowProductPage(form, *form.NxHTTP1, kSubcategory, page, *form.gridshowinfo);
}

long resident_kib()
{
    std::ifstream statm("/proc/self/statm");
    long pages_total = 0, pages_resident = 0;
    statm >> pages_total >> pages_resident;
    return pages_resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// The URLs one page flip fetches: the batch (even pages) and the page's pictures.
std::vector<std::string> urls_of_page(int page)
{
    const int even = page - page % 2;
    const std::string batch_path = "idf.php?cq=" + kSubcategory + "&cp=" + std::to_string(even * 48);
    TNxHTTP client;
    TMemoryStream body;
    client.Get(service().BaseUrl() + batch_path, body);
    auto root = TQvJSON::ParseDocument(body.Bytes());
    TQvJSONbase* container = JsonAs<TQvJSONobjectmethod>(root->ChildAt(4))->PairValue();
    TQvJSONbase* items = JsonAs<TQvJSONobjectmethod>(container->ChildAt(0))->PairValue();
    std::vector<std::string> urls;
    if (page % 2 == 0)
        urls.push_back(service().BaseUrl() + batch_path);
    const int half = items->ChildCount() / 2;
    for (int i = page % 2 == 0 ? 0 : half; i < (page % 2 == 0 ? half : items->ChildCount()); ++i)
        urls.push_back(VariantToText(items->ChildAt(i)->Lookup(Variant("pic_url"))->AsVariant()));
    return urls;
}

// libcurl keeps the bodies as the window must: appended to one buffer a page.
size_t keep(char* data, size_t size, size_t count, void* buffer)
{
    static_cast<std::string*>(buffer)->append(data, size * count);
    return size * count;
}

void curl_fetch(CURL* handle, const std::vector<std::string>& urls)
{
    std::string bodies;
    curl_easy_setopt(handle, CURLOPT_WRITEDATA, &bodies);
    for (const std::string& url : urls) {
        curl_easy_setopt(handle, CURLOPT_URL, url.c_str());
        curl_easy_perform(handle);
    }
    benchmark::DoNotOptimize(bodies.data());
}

void BM_StartUp(benchmark::State& state)
{
    for (auto _ : state) {
        auto form = open_window();
        benchmark::DoNotOptimize(form.get());
    }
}
BENCHMARK(BM_StartUp)->Unit(benchmark::kMillisecond);

void BM_EvenPageFlip(benchmark::State& state)
{
    auto form = open_window_after_first_press();
    int page = 0;
    for (auto _ : state) {
        page = (page + 2) % kFullBatchPages;
        show_page(*form, page);
    }
}
BENCHMARK(BM_EvenPageFlip)->Unit(benchmark::kMillisecond);

void BM_OddPageFlip(benchmark::State& state)
{
    auto form = open_window_after_first_press();
    show_page(*form, 2);
    for (auto _ : state)
        show_page(*form, 3);
}
BENCHMARK(BM_OddPageFlip)->Unit(benchmark::kMillisecond);

void BM_CurlEvenPageUrls(benchmark::State& state)
{
    std::vector<std::vector<std::string>> pages;
    for (int page = 0; page < kFullBatchPages; page += 2)
        pages.push_back(urls_of_page(page));
    CURL* handle = curl_easy_init();
    curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, keep);
    size_t next = 0;
    for (auto _ : state) {
        curl_fetch(handle, pages[next]);
        next = (next + 1) % pages.size();
    }
    curl_easy_cleanup(handle);
}
BENCHMARK(BM_CurlEvenPageUrls)->Unit(benchmark::kMillisecond);

void BM_CurlOddPageUrls(benchmark::State& state)
{
    const std::vector<std::string> urls = urls_of_page(3);
    CURL* handle = curl_easy_init();
    curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, keep);
    for (auto _ : state)
        curl_fetch(handle, urls);
    curl_easy_cleanup(handle);
}
BENCHMARK(BM_CurlOddPageUrls)->Unit(benchmark::kMillisecond);

// Resident memory after 10 and after 300 flips with ">>" and "<<" through the
// subcategory: documents and picture stores must be freed once nothing refers
// to them.
void BM_ResidentMemoryOver300Flips(benchmark::State& state)
{
    for (auto _ : state) {
        auto form = open_window_after_first_press();
        int page = 0;
        int direction = 1;
        long after_10 = 0;
        for (int flip = 1; flip <= 300; ++flip) {
            if (page + direction < 0 || page + direction >= kFullBatchPages)
                direction = -direction;
            page += direction;
            show_page(*form, page);
            if (flip == 10)
                after_10 = resident_kib();
        }
        const long after_300 = resident_kib();
        state.counters["rss_after_10_MiB"] = static_cast<double>(after_10) / 1024;
        state.counters["rss_after_300_MiB"] = static_cast<double>(after_300) / 1024;
        state.counters["growth_MiB"] = static_cast<double>(after_300 - after_10) / 1024;
    }
}
BENCHMARK(BM_ResidentMemoryOver300Flips)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    Application->Initialize();
    Application->SetTitle(AppTitle);
    curl_global_init(CURL_GLOBAL_DEFAULT);
    service();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    curl_global_cleanup();
    return 0;
}

#include "bench/json/ServiceDocuments.h"

#include "server/CatalogueService.h"
#include "server/CatalogueStore.h"
#include "server/SampleCatalogue.h"
#include "server/ServiceLimits.h"

#include <curl/curl.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <thread>
#include <unistd.h>

namespace {

size_t keep_body(char* data, size_t size, size_t count, void* body)
{
    static_cast<std::string*>(body)->append(data, size * count);
    return size * count;
}

std::string fetch(CURL* curl, const std::string& url)
{
    std::string body;
    long status = 0;
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, keep_body);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &body);
    if (curl_easy_perform(curl) != CURLE_OK || curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status) != CURLE_OK ||
        status != 200) {
        std::fprintf(stderr, "fetching %s failed\n", url.c_str());
        std::abort();
    }
    return body;
}

} // namespace

ServiceDocuments FetchServiceDocuments()
{
    const auto folder = std::filesystem::temp_directory_path() / ("tavrin-json-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    ServiceDocuments documents;
    {
        auto store = CatalogueStore::OpenOrCreate(folder / "catalogue.db");
        CatalogueService service(*store);
        const int port = service.Bind("127.0.0.1", 0);
        std::thread thread([&service] { service.Run(); });
        const std::string base = "http://127.0.0.1:" + std::to_string(port) + "/kestrid/";
        CURL* curl = curl_easy_init();
        documents.batch = fetch(curl, base + "idf.php?cq=" + std::to_string(sample_catalogue::kFirstSubcategoryId) +
                                          "&cp=0");
        documents.topCategories = fetch(curl, base + "ide.php?cq=" + std::to_string(service_limits::kRootCategoryId));
        documents.subcategories =
            fetch(curl, base + "ide.php?cq=" + std::to_string(sample_catalogue::kFirstTopCategoryId));
        curl_easy_cleanup(curl);
        service.Stop();
        thread.join();
    }
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return documents;
}

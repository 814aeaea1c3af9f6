#pragma once

#include "server/CatalogueRecords.h"
#include "server/CatalogueService.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>

class CatalogueStore;

// A folder of its own under the system's temporary folder, removed with its contents.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

// The service over a fresh sample catalogue, answering on a free loopback port.
class RunningService {
public:
    // log, when given, hears the method and target of every request.
    explicit RunningService(std::function<void(const std::string& method, const std::string& target)> log = {},
                            ServiceSettings settings = {});
    ~RunningService();
    int Port() const { return port_; }
    std::string Host() const { return "127.0.0.1:" + std::to_string(port_); }

private:
    TempFolder folder_;
    std::unique_ptr<CatalogueStore> store_;
    std::unique_ptr<CatalogueService> service_;
    std::thread runner_;
    int port_ = 0;
};

struct JpegFacts {
    int width = 0;
    int height = 0;
    int components = 0;
    bool progressive = false;
};

// Decodes every scan line; none when libjpeg refuses the data.
std::optional<JpegFacts> decode_jpeg(const std::string& bytes);

// Id of the sample subcategory holding exactly count products.
std::int64_t subcategory_of_size(int count);

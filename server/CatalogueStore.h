#pragma once

#include "server/CatalogueRecords.h"

#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

struct SampleCatalogue;
class CatalogueReader;

// The catalogue file. Opened read-only once it exists; safe to use from several threads:
// each query borrows a read connection of its own with its statements prepared once, so
// there are as many connections as threads ever read at the same time.
class CatalogueStore {
public:
    // Opens the file; when there is none, first writes the sample catalogue into it.
    static std::unique_ptr<CatalogueStore> OpenOrCreate(const std::filesystem::path& path);
    // Writes a new catalogue file. It appears under its name only when complete, so an
    // interrupted first start leaves no half-made file behind.
    static void Create(const std::filesystem::path& path, const SampleCatalogue& catalogue);

    ~CatalogueStore();
    CatalogueStore(const CatalogueStore&) = delete;
    CatalogueStore& operator=(const CatalogueStore&) = delete;

    std::vector<CategoryRecord> Children(std::int64_t parent_id) const;
    std::int64_t ProductCount(std::int64_t category_id) const;
    // Products of the category in list order, from position first on, at most limit of them.
    std::vector<ProductRecord> Products(std::int64_t category_id, std::int64_t first, std::int64_t limit) const;
    std::optional<ProductRecord> Product(std::int64_t product_id) const;
    // The JPEG bytes of a product's picture; none for an unknown product or a missing picture.
    std::optional<std::string> Picture(std::int64_t product_id) const;

    static constexpr int kLayoutVersion = 1;

private:
    class Borrowed;
    explicit CatalogueStore(std::string path);
    std::unique_ptr<CatalogueReader> Borrow() const;
    void GiveBack(std::unique_ptr<CatalogueReader> reader) const;

    std::string path_;
    mutable std::mutex mutex_;
    mutable std::vector<std::unique_ptr<CatalogueReader>> idle_;
};

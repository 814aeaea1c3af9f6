#pragma once

#include "server/CatalogueRecords.h"

#include <array>
#include <vector>

// The sample catalogue written into a new catalogue file. The same every time, so that a
// fresh file on any machine holds the same products.
struct SampleCatalogue {
    std::vector<CategoryRecord> categories;
    std::vector<ProductRecord> products;
    std::vector<PicturePlan> pictures;
};

SampleCatalogue make_sample_catalogue();

namespace sample_catalogue {
// Every paging case of the client can be reached: empty, a single product, one short of,
// exactly and one past a batch, and the same around two batches, plus a long list.
inline constexpr std::array<int, 10> kPagingCaseSizes = {0, 1, 23, 47, 48, 49, 95, 96, 97, 310};
// The start page of the client needs three batches to page both ways.
inline constexpr int kFirstSubcategorySize = 130;
inline constexpr std::int64_t kFirstTopCategoryId = 50100983;
inline constexpr std::int64_t kFirstSubcategoryId = 50200001;
inline constexpr std::int64_t kFirstProductId = 523000101;
} // namespace sample_catalogue

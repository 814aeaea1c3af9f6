#pragma once

#include "server/CatalogueRecords.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A product batch as the service answers it: the subcategory's total and the products
// from the batch's first index on.
struct BatchAnswer {
    std::int64_t subcategory_id = 0;
    std::int64_t offset = 0; // the cp value of the request
    std::int64_t total = 0;
    std::vector<ProductRecord> products;
};

// The root holds exactly one member, the list of categories.
std::string category_document(const std::vector<CategoryRecord>& categories);

// The counters stand among the first four members, the product container is the fifth
// member and the product list its first member; clients find them by position.
std::string batch_document(const BatchAnswer& batch, std::string_view host);

// The index of the first product of the batch the client asks for with cp.
std::int64_t batch_first_index(std::int64_t offset);
// Number of batches for a count of products, rounded up.
std::int64_t batch_count(std::int64_t total);

std::string picture_url(std::string_view host, std::int64_t product_id);
std::string detail_url(std::string_view host, std::int64_t product_id);

namespace catalogue_documents {
inline constexpr std::string_view kServicePath = "/kestrid/";
inline constexpr std::string_view kProductMembers[] = {"title",      "price",     "promotion_price", "volume",
                                                      "comment_num", "brand_name", "pic_url",         "detail_url",
                                                      "tag_lq",      "tag_hot",   "tag_new"};
} // namespace catalogue_documents

#pragma once

#include "server/CatalogueRecords.h"

#include <cstdint>
#include <string>
#include <string_view>

// The product's own page, as the user's browser shows it after a click in the client.
std::string product_page_html(const ProductRecord& product, std::string_view host);
// The page for an id the catalogue does not know.
std::string missing_product_page_html(std::int64_t product_id);

#pragma once

#include <string>

// Answers of the stand-in catalogue service over its sample catalogue, the
// bodies exactly as a client receives them over loopback.
struct ServiceDocuments {
    std::string batch;         // the first batch of the first subcategory (48 products)
    std::string topCategories; // the category list of the root
    std::string subcategories; // the category list of the first top category
};

ServiceDocuments FetchServiceDocuments();

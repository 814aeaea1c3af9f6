#pragma once

#include <cstdint>
#include <string>

// One row of the category tree; top categories hang under the root id.
struct CategoryRecord {
    std::int64_t id = 0;
    std::int64_t parent_id = 0;
    int position = 0;
    std::string name; // UTF-8
};

// One product as the catalogue file keeps it. Texts are UTF-8; an empty tag means absent.
struct ProductRecord {
    std::int64_t id = 0;
    std::int64_t category_id = 0;
    int position = 0;
    std::string title;
    std::string brand;
    std::int64_t price_cents = 0;
    std::int64_t promotion_cents = 0;
    std::int64_t volume = 0;
    std::string comment_num;
    std::string tag_new;
    std::string tag_hot;
    std::string tag_lq;
    std::int64_t picture_id = 0; // 0: the product's picture address answers 404
};

enum class PictureColour { Colour, Grayscale };
enum class PictureScan { Baseline, Progressive };

struct PicturePlan {
    std::int64_t id = 0;
    int width = 0;
    int height = 0;
    PictureColour colour = PictureColour::Colour;
    PictureScan scan = PictureScan::Baseline;
    std::uint32_t seed = 0;
};

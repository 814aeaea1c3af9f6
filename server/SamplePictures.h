#pragma once

#include "server/CatalogueRecords.h"

#include <string>

// A JPEG file of the given size and kind: a gradient with a disc and a band, coloured by
// the seed, so that neighbouring products look different.
std::string encode_sample_picture(const PicturePlan& plan);

namespace sample_pictures {
inline constexpr int kQuality = 85;
inline constexpr int kMaxSide = 4000;
} // namespace sample_pictures

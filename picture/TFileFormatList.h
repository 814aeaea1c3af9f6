#pragma once

#include "picture/TGraphic.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The picture types known by file extension, in order of registration.
class TFileFormatList {
public:
    // Makes an empty graphic of the type; empty for types without a decoder.
    using GraphicFactory = std::function<std::unique_ptr<TGraphic>()>;

    struct TFileFormat {
        std::string Extension; // lower case, no dot
        std::string Description;
        GraphicFactory Create;
    };

    // The list with the built-in types.
    TFileFormatList();

    void Add(std::string_view extension, std::string_view description, GraphicFactory create);
    // Case-insensitive, the most recently added entry first.
    const TFileFormat* Find(std::string_view extension) const;
    const std::vector<TFileFormat>& Formats() const { return formats_; }

private:
    std::vector<TFileFormat> formats_;
};

// The list TPicture::LoadFromFile uses.
TFileFormatList& FileFormats();

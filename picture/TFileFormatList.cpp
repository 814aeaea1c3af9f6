#include "picture/TFileFormatList.h"

#include "picture/TJPEGImage.h"

#include <algorithm>

namespace {

std::string ascii_lower(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return lower;
}

std::unique_ptr<TGraphic> make_jpeg()
{
    return std::make_unique<TJPEGImage>();
}

} // namespace

TFileFormatList::TFileFormatList()
{
    // Metafiles, icons and bitmaps are known by name only; the program loads JPEG files.
    Add("wmf", "Metafiles", nullptr);
    Add("emf", "Enhanced Metafiles", nullptr);
    Add("ico", "Icons", nullptr);
    Add("bmp", "Bitmaps", nullptr);
    Add("jpeg", "JPEG Image File", make_jpeg);
    Add("jpg", "JPEG Image File", make_jpeg);
}

void TFileFormatList::Add(std::string_view extension, std::string_view description, GraphicFactory create)
{
    formats_.push_back({ascii_lower(extension), std::string(description), std::move(create)});
}

const TFileFormatList::TFileFormat* TFileFormatList::Find(std::string_view extension) const
{
    const std::string wanted = ascii_lower(extension);
    const auto found = std::find_if(formats_.rbegin(), formats_.rend(),
                                    [&](const TFileFormat& format) { return format.Extension == wanted; });
    return found == formats_.rend() ? nullptr : &*found;
}

TFileFormatList& FileFormats()
{
    static TFileFormatList formats;
    return formats;
}

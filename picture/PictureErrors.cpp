#include "picture/PictureErrors.h"

#include <string>

EJPEG::EJPEG(int code) : Exception("JPEG error #" + std::to_string(code)), code_(code) {}

EInvalidGraphic EInvalidGraphic::UnknownExtension(std::string_view extension)
{
    return EInvalidGraphic("Unknown picture file extension (." + std::string(extension) + ")");
}

EInvalidGraphic EInvalidGraphic::Unsupported(std::string_view description)
{
    return EInvalidGraphic("Cannot load " + std::string(description) + ": only JPEG pictures are supported");
}

EInvalidGraphic EInvalidGraphic::TooLarge(int width, int height)
{
    return EInvalidGraphic("Picture too large (" + std::to_string(width) + " x " + std::to_string(height) + ")");
}

EFOpenError EFOpenError::CannotOpen(std::string_view path, std::string_view reason)
{
    return EFOpenError("Cannot open file \"" + std::string(path) + "\". " + std::string(reason));
}

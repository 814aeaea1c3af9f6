#pragma once

#include "base/Exception.h"

#include <string_view>

// The JPEG library refused the data; the number is the library's message code.
class EJPEG : public Exception {
public:
    explicit EJPEG(int code);
    const char* ClassName() const noexcept override { return "EJPEG"; }

    int Code() const noexcept { return code_; }

private:
    int code_;
};

// A picture file of a type that cannot be loaded.
class EInvalidGraphic : public Exception {
public:
    using Exception::Exception;
    const char* ClassName() const noexcept override { return "EInvalidGraphic"; }

    // "Unknown picture file extension (.%s)"
    static EInvalidGraphic UnknownExtension(std::string_view extension);
    // A registered type this program has no decoder for (only JPEG is needed).
    static EInvalidGraphic Unsupported(std::string_view description);
    // A bitmap larger than one may be.
    static EInvalidGraphic TooLarge(int width, int height);
};

// A file that could not be opened or read.
class EFOpenError : public Exception {
public:
    using Exception::Exception;
    const char* ClassName() const noexcept override { return "EFOpenError"; }

    // "Cannot open file "%s". %s": the full path and the system's reason.
    static EFOpenError CannotOpen(std::string_view path, std::string_view reason);
};

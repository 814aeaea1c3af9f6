#pragma once

#include "base/Exception.h"

#include <string_view>

// The catalogue file cannot be opened, created or read.
class ECatalogueStoreError : public Exception {
public:
    using Exception::Exception;
    const char* ClassName() const noexcept override { return "ECatalogueStoreError"; }

    static ECatalogueStoreError Failed(std::string_view path, std::string_view step, std::string_view reason);
    static ECatalogueStoreError WrongLayout(std::string_view path, int found_version);
};

// The picture encoder refused a sample picture.
class EPictureEncodeError : public Exception {
public:
    using Exception::Exception;
    const char* ClassName() const noexcept override { return "EPictureEncodeError"; }

    static EPictureEncodeError Failed(int width, int height, std::string_view reason);
};

// A command line the service does not understand, or an address it cannot take.
class EServerSetupError : public Exception {
public:
    using Exception::Exception;
    const char* ClassName() const noexcept override { return "EServerSetupError"; }

    static EServerSetupError UnknownOption(std::string_view option);
    static EServerSetupError MissingValue(std::string_view option);
    static EServerSetupError BadPort(std::string_view text);
    static EServerSetupError CannotListen(std::string_view address, int port);
    static EServerSetupError CannotServe();
    static EServerSetupError BadValue(std::string_view option, std::string_view text);
};

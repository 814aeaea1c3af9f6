#include "server/ServerErrors.h"

#include <string>

ECatalogueStoreError ECatalogueStoreError::Failed(std::string_view path, std::string_view step, std::string_view reason)
{
    return ECatalogueStoreError("catalogue file " + std::string(path) + ": cannot " + std::string(step) + ": " +
                                std::string(reason));
}

ECatalogueStoreError ECatalogueStoreError::WrongLayout(std::string_view path, int found_version)
{
    return ECatalogueStoreError("catalogue file " + std::string(path) + " has layout version " +
                                std::to_string(found_version) + "; remove it to have a new sample catalogue made");
}

EPictureEncodeError EPictureEncodeError::Failed(int width, int height, std::string_view reason)
{
    return EPictureEncodeError("cannot encode a " + std::to_string(width) + "x" + std::to_string(height) +
                               " picture: " + std::string(reason));
}

EServerSetupError EServerSetupError::UnknownOption(std::string_view option)
{
    return EServerSetupError("unknown option " + std::string(option) +
                             " (catalogue-server --help lists the options)");
}

EServerSetupError EServerSetupError::MissingValue(std::string_view option)
{
    return EServerSetupError("option " + std::string(option) + " needs a value");
}

EServerSetupError EServerSetupError::BadPort(std::string_view text)
{
    return EServerSetupError("'" + std::string(text) + "' is not a port number (0 to 65535)");
}

EServerSetupError EServerSetupError::CannotListen(std::string_view address, int port)
{
    return EServerSetupError("cannot listen on " + std::string(address) + " port " + std::to_string(port));
}

EServerSetupError EServerSetupError::CannotServe()
{
    return EServerSetupError("cannot start the HTTP service threads");
}

EServerSetupError EServerSetupError::BadValue(std::string_view option, std::string_view text)
{
    return EServerSetupError("option " + std::string(option) + ": '" + std::string(text) +
                             "' is not a whole number in range");
}

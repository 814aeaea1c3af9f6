#include "server/ServerOptions.h"

#include "server/RequestText.h"
#include "server/ServerErrors.h"

#include <system_error>

ServerOptions parse_server_options(const std::vector<std::string>& arguments)
{
    ServerOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string name = arguments[i];
        std::string value;
        bool has_value = false;
        if (const std::size_t equals = name.find('='); name.rfind("--", 0) == 0 && equals != std::string::npos) {
            value = name.substr(equals + 1);
            name.resize(equals);
            has_value = true;
        }
        if (name != "--listen" && name != "--port" && name != "--db")
            throw EServerSetupError::UnknownOption(arguments[i]);
        if (!has_value) {
            if (i + 1 >= arguments.size())
                throw EServerSetupError::MissingValue(name);
            value = arguments[++i];
        }
        if (name == "--listen") {
            if (value.empty())
                throw EServerSetupError::MissingValue(name);
            options.listen = value;
        } else if (name == "--port") {
            const auto port = parse_decimal(value, 5);
            if (!port || *port > 65535)
                throw EServerSetupError::BadPort(value);
            options.port = static_cast<int>(*port);
        } else {
            if (value.empty())
                throw EServerSetupError::MissingValue(name);
            options.db = value;
        }
    }
    return options;
}

std::filesystem::path default_catalogue_path()
{
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error || !executable.has_parent_path())
        return "catalogue.db";
    return executable.parent_path() / "catalogue.db";
}

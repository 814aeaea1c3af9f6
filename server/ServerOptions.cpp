#include "server/ServerOptions.h"

#include "server/RequestText.h"
#include "server/ServerErrors.h"

#include <system_error>

namespace {

int whole_number(const std::string& name, const std::string& value, std::int64_t low, std::int64_t high)
{
    const auto number = parse_decimal(value, 9);
    if (!number || *number < low || *number > high)
        throw EServerSetupError::BadValue(name, value);
    return static_cast<int>(*number);
}

} // namespace

ServerOptions parse_server_options(const std::vector<std::string>& arguments)
{
    ServerOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string name = arguments[i];
        if (name == "--help" || name == "-h") {
            options.help = true;
            continue;
        }
        if (name == "--log") {
            options.log = true;
            continue;
        }
        std::string value;
        bool has_value = false;
        if (const std::size_t equals = name.find('='); name.rfind("--", 0) == 0 && equals != std::string::npos) {
            value = name.substr(equals + 1);
            name.resize(equals);
            has_value = true;
        }
        if (name != "--listen" && name != "--port" && name != "--db" && name != "--idle-timeout" &&
            name != "--head-timeout" && name != "--threads")
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
        } else if (name == "--idle-timeout") {
            options.service.idle_timeout_seconds = whole_number(name, value, 1, 86400);
        } else if (name == "--head-timeout") {
            options.service.head_timeout_seconds = whole_number(name, value, 1, 86400);
        } else if (name == "--threads") {
            options.service.threads = static_cast<unsigned>(whole_number(name, value, 1, 256));
        } else {
            if (value.empty())
                throw EServerSetupError::MissingValue(name);
            options.db = value;
        }
    }
    return options;
}

std::string server_usage()
{
    return "usage: catalogue-server [options]\n"
           "The stand-in catalogue web service; prints its base URL once ready, stops on SIGINT or SIGTERM.\n"
           "  --listen ADDR        address to listen on (default 127.0.0.1)\n"
           "  --port N             port (default 80; 0 picks a free port)\n"
           "  --db FILE            catalogue file, made with the sample catalogue when missing\n"
           "                       (default catalogue.db beside the executable)\n"
           "  --log                one common-log-format line per request on standard error\n"
           "  --idle-timeout S     close a connection without traffic for S seconds (default " +
           std::to_string(service_limits::kIdleSeconds) +
           ")\n"
           "  --head-timeout S     close a connection whose request head is not complete S seconds\n"
           "                       after it opened or after its previous answer (default " +
           std::to_string(service_limits::kHeadSeconds) +
           ")\n"
           "  --threads N          service threads (default: one per processor, at least 2)\n"
           "  --help               this text\n";
}

std::filesystem::path default_catalogue_path()
{
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error || !executable.has_parent_path())
        return "catalogue.db";
    return executable.parent_path() / "catalogue.db";
}

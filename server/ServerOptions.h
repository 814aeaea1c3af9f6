#pragma once

#include <filesystem>
#include <string>
#include <vector>

struct ServerOptions {
    std::string listen = "127.0.0.1";
    int port = 80;
    std::filesystem::path db; // empty: catalogue.db beside the executable
};

// --listen ADDR, --port N (0 picks a free port), --db FILE; also in the --name=value form.
ServerOptions parse_server_options(const std::vector<std::string>& arguments);

// The catalogue file used without --db: catalogue.db in the executable's folder, or in the
// current folder when the executable's folder cannot be found.
std::filesystem::path default_catalogue_path();

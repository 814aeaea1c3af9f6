#pragma once

#include "server/CatalogueService.h"

#include <filesystem>
#include <string>
#include <vector>

struct ServerOptions {
    std::string listen = "127.0.0.1";
    int port = 80;
    std::filesystem::path db; // empty: catalogue.db beside the executable
    bool log = false;         // one common-log-format line per request on stderr
    bool help = false;
    ServiceSettings service;
};

// --listen ADDR, --port N (0 picks a free port), --db FILE, --idle-timeout S,
// --head-timeout S, --threads N, also in the --name=value form; --log; --help.
ServerOptions parse_server_options(const std::vector<std::string>& arguments);

// The text --help prints.
std::string server_usage();

// The catalogue file used without --db: catalogue.db in the executable's folder, or in the
// current folder when the executable's folder cannot be found.
std::filesystem::path default_catalogue_path();

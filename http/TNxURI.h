#pragma once

#include <string>
#include <string_view>

// A URL cut into its parts. Nothing is encoded or decoded.
struct TNxURI {
    std::string Protocol;
    std::string Host;
    std::string Port;
    std::string Path;
    std::string Document;
    std::string Params;
    std::string Bookmark;
    std::string Username;
    std::string Password;

    // Splits url: backslashes become slashes, then scheme, user information,
    // host, port, directory path, document, parameters and fragment.
    static TNxURI Split(std::string_view url);
};

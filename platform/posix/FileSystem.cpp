#include "platform/FileSystem.h"

#include <climits>
#include <unistd.h>

std::string ExecutableFolder()
{
    char path[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0)
        return {};
    std::string folder(path, static_cast<size_t>(n));
    size_t slash = folder.rfind('/');
    return slash == std::string::npos ? std::string() : folder.substr(0, slash + 1);
}

FileHandle OpenFile(const std::string& name, const char* mode)
{
    return FileHandle(std::fopen(name.c_str(), mode));
}

bool IsPathSeparator(char c)
{
    return c == '/';
}

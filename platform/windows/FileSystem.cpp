#include "platform/FileSystem.h"

#include "platform/windows/WideText.h"

#include <windows.h>

std::string ExecutableFolder()
{
    // The path may be longer than MAX_PATH; grow until it fits.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0)
            return {};
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        if (path.size() >= 32768)
            return {};
        path.resize(path.size() * 2);
    }
    size_t separator = path.find_last_of(L"\\/");
    if (separator == std::wstring::npos)
        return {};
    return Utf8FromWide(std::wstring_view(path).substr(0, separator + 1));
}

FileHandle OpenFile(const std::string& name, const char* mode)
{
    const std::wstring wide_mode(mode, mode + std::char_traits<char>::length(mode));
    return FileHandle(::_wfopen(WideFromUtf8(name).c_str(), wide_mode.c_str()));
}

bool IsPathSeparator(char c)
{
    return c == '/' || c == '\\';
}

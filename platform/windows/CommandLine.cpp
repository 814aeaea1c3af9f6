#include "platform/CommandLine.h"

#include "platform/windows/WideText.h"

#include <windows.h>
#include <shellapi.h>

#include <memory>

std::vector<std::string> CommandLineArguments(int argc, char** argv)
{
    int count = 0;
    std::unique_ptr<LPWSTR, decltype(&::LocalFree)> wide(::CommandLineToArgvW(::GetCommandLineW(), &count), &::LocalFree);
    if (!wide || count != argc)
        return std::vector<std::string>(argv, argv + argc);
    std::vector<std::string> arguments;
    for (int i = 0; i < count; ++i)
        arguments.push_back(Utf8FromWide(wide.get()[i]));
    return arguments;
}

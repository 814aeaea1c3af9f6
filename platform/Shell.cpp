#include "platform/Shell.h"

#include "platform/SystemShell.h"

namespace {

std::function<void(const std::string&)>& shell_hook()
{
    static std::function<void(const std::string&)> hook;
    return hook;
}

} // namespace

void SetShellOpenHook(std::function<void(const std::string&)> hook)
{
    shell_hook() = std::move(hook);
}

void ShellOpen(const std::string& address)
{
    if (shell_hook()) {
        shell_hook()(address);
        return;
    }
    SystemShellOpen(address);
}

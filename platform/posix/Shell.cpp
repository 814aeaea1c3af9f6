#include "platform/SystemShell.h"

#include <cstdlib>
#include <string_view>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Finds a program on PATH before forking, so the child only has to exec.
std::string find_on_path(std::string_view program)
{
    const char* path = std::getenv("PATH");
    std::string_view rest = path ? path : "/usr/local/bin:/usr/bin:/bin";
    while (!rest.empty()) {
        size_t colon = rest.find(':');
        std::string candidate(rest.substr(0, colon));
        rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
        if (candidate.empty())
            continue;
        candidate += '/';
        candidate += program;
        if (access(candidate.c_str(), X_OK) == 0)
            return candidate;
    }
    return {};
}

} // namespace

void SystemShellOpen(const std::string& address)
{
    std::string opener = find_on_path("xdg-open");
    if (opener.empty())
        return;
    // The address goes as one argument, never through a shell. A double fork
    // leaves the browser to init, so no child is left for us to reap later.
    char* argv[] = {opener.data(), const_cast<char*>(address.c_str()), nullptr};
    pid_t child = fork();
    if (child == 0) {
        if (fork() == 0) {
            execv(argv[0], argv);
            _exit(127);
        }
        _exit(0);
    }
    if (child > 0)
        waitpid(child, nullptr, 0);
}

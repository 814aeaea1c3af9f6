#include "tests/base/CommaLocale.h"

#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <locale.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

bool loadable()
{
    locale_t locale = newlocale(LC_ALL_MASK, kCommaLocale, static_cast<locale_t>(nullptr));
    if (locale == static_cast<locale_t>(nullptr))
        return false;
    freelocale(locale);
    return true;
}

// localedef -i de_DE -f UTF-8 OUT; false when it cannot run or fails.
bool compile_locale(const std::string& out)
{
    const std::string name = kCommaLocale;
    std::string input = name.substr(0, name.find('.'));
    std::string charmap = name.substr(name.find('.') + 1);
    std::string program = "localedef";
    std::string input_flag = "-i", charmap_flag = "-f";
    std::string target = out;
    char* argv[] = {program.data(), input_flag.data(), input.data(), charmap_flag.data(), charmap.data(),
                    target.data(), nullptr};
    pid_t pid = 0;
    if (posix_spawnp(&pid, "localedef", nullptr, nullptr, argv, environ) != 0)
        return false;
    int status = 0;
    while (waitpid(pid, &status, 0) < 0)
        if (errno != EINTR)
            return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace

void ProvideCommaLocale()
{
    if (loadable())
        return;
    namespace fs = std::filesystem;
    const fs::path folder = TAVRIN_TEST_LOCALE_DIR;
    const fs::path compiled = folder / kCommaLocale;
    if (!fs::exists(compiled / "LC_NUMERIC")) {
        fs::create_directories(folder);
        // Compiled aside and moved in whole, so tests running side by side
        // never see half a locale.
        std::string scratch = (folder / "tmp-XXXXXX").string();
        if (mkdtemp(scratch.data()) == nullptr)
            throw std::runtime_error("cannot make a folder in " + folder.string());
        const fs::path made = fs::path(scratch) / kCommaLocale;
        const bool ok = compile_locale(made.string());
        // Another test may have moved its copy in first; that one serves.
        const bool moved = ok && (std::rename(made.c_str(), compiled.c_str()) == 0 || fs::exists(compiled / "LC_NUMERIC"));
        std::error_code ignored;
        fs::remove_all(scratch, ignored);
        if (!ok)
            throw std::runtime_error(std::string("localedef cannot compile ") + kCommaLocale +
                                     " (it needs the locales package's sources in /usr/share/i18n)");
        if (!moved)
            throw std::runtime_error("cannot move the compiled locale to " + compiled.string());
    }
    setenv("LOCPATH", folder.c_str(), 1);
    if (!loadable())
        throw std::runtime_error(std::string("the compiled locale ") + kCommaLocale + " does not load from " +
                                 folder.string());
}

CommaLocaleScope::CommaLocaleScope()
{
    ProvideCommaLocale();
    const char* previous = std::setlocale(LC_ALL, nullptr);
    previous_ = previous != nullptr ? previous : "C";
    if (std::setlocale(LC_ALL, kCommaLocale) == nullptr)
        throw std::runtime_error(std::string("setlocale refuses ") + kCommaLocale);
}

CommaLocaleScope::~CommaLocaleScope()
{
    std::setlocale(LC_ALL, previous_.c_str());
}

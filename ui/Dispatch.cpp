#include "ui/Dispatch.h"

#include "base/Exception.h"
#include "ui/TApplication.h"

#include <cstdio>
#include <exception>

namespace {

void report(const std::exception& error) noexcept
{
    try {
        if (Application != nullptr) {
            Application->HandleException(error);
            return;
        }
    } catch (...) {
        // The report itself failed (a throwing test hook); fall through.
    }
    std::fprintf(stderr, "%s\n", error.what());
}

} // namespace

void Dispatch(const std::function<void()>& handler) noexcept
{
    if (!handler)
        return;
    try {
        handler();
    } catch (const std::exception& error) {
        report(error);
    } catch (...) {
        report(Exception("Unknown error"));
    }
}

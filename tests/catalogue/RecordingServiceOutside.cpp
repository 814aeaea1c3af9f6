#include "tests/catalogue/RecordingService.h"

#include <algorithm>
#include <cstddef>
#include <fstream>
#include <stdexcept>

// The stand-in service runs as a program of its own, started for the whole
// test run (tests/catalogue/service-fixture); its folder holds the base URL it
// printed and its access log. The tests that use it run one at a time, so
// every line after the mark is this program's.
struct RecordingService::Impl {
    std::string folder = TAVRIN_SERVICE_FOLDER;
    size_t mark = 0;

    std::vector<std::string> LogTargets() const
    {
        std::ifstream log(folder + "/access.log", std::ios::binary);
        std::vector<std::string> targets;
        // 127.0.0.1 - - [09/Dec/2026:03:20:00 +0000] "GET /kestrid/ide.php?cq=1 HTTP/1.1" 200 19
        for (std::string line; std::getline(log, line);) {
            const size_t start = line.find(" /", line.find('"'));
            const size_t end = line.rfind(" HTTP/");
            if (start == std::string::npos || end == std::string::npos || end <= start)
                continue;
            std::string target = line.substr(start + 1, end - start - 1);
            const std::string prefix = "/kestrid/";
            targets.push_back(target.rfind(prefix, 0) == 0 ? target.substr(prefix.size()) : target);
        }
        return targets;
    }
};

RecordingService::RecordingService() : impl_(std::make_unique<Impl>())
{
    ClearRequests();
}

RecordingService::~RecordingService() = default;

std::string RecordingService::BaseUrl() const
{
    std::ifstream file(impl_->folder + "/url");
    std::string url;
    if (!std::getline(file, url) || url.empty())
        throw std::runtime_error("no stand-in service in " + impl_->folder + " (started by the test run's fixture)");
    return url;
}

std::vector<std::string> RecordingService::Requests() const
{
    std::vector<std::string> targets = impl_->LogTargets();
    targets.erase(targets.begin(), targets.begin() + static_cast<std::ptrdiff_t>(std::min(impl_->mark, targets.size())));
    return targets;
}

void RecordingService::ClearRequests()
{
    impl_->mark = impl_->LogTargets().size();
}

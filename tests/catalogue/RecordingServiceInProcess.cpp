#include "tests/catalogue/RecordingService.h"

#include "tests/server/ServerTestSupport.h"

#include <mutex>

struct RecordingService::Impl {
    Impl()
        : service([this](const std::string&, const std::string& target) {
              std::lock_guard lock(mutex);
              const std::string prefix = "/kestrid/";
              requests.push_back(target.rfind(prefix, 0) == 0 ? target.substr(prefix.size()) : target);
          })
    {
    }

    std::mutex mutex;
    std::vector<std::string> requests;
    RunningService service; // last: it logs into the members above until it stops
};

RecordingService::RecordingService() : impl_(std::make_unique<Impl>()) {}

RecordingService::~RecordingService() = default;

std::string RecordingService::BaseUrl() const
{
    return "http://" + impl_->service.Host() + "/kestrid/";
}

std::vector<std::string> RecordingService::Requests() const
{
    std::lock_guard lock(impl_->mutex);
    return impl_->requests;
}

void RecordingService::ClearRequests()
{
    std::lock_guard lock(impl_->mutex);
    impl_->requests.clear();
}

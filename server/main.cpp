// catalogue-server: the stand-in catalogue web service with its sample catalogue.
#include "server/AccessLog.h"
#include "server/CatalogueService.h"
#include "server/CatalogueStore.h"
#include "server/ServerOptions.h"

#include <csignal>
#include <ctime>
#include <cstdio>
#include <exception>
#include <pthread.h>
#include <thread>

namespace {

// SIGINT and SIGTERM are taken by one waiting thread, so that stopping the service runs as
// ordinary code and not inside a signal handler.
sigset_t stop_signals()
{
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    return set;
}

int serve(const ServerOptions& options)
{
    const std::filesystem::path db = options.db.empty() ? default_catalogue_path() : options.db;
    const auto store = CatalogueStore::OpenOrCreate(db);
    CatalogueService service(*store, options.service);
    if (options.log)
        service.SetAccessLog([](const AccessEntry& entry) {
            // One write per line, so lines from several threads do not interleave.
            const std::string line = common_log_line(entry, std::time(nullptr)) + "\n";
            std::fwrite(line.data(), 1, line.size(), stderr);
        });
    service.Bind(options.listen, options.port);

    const sigset_t signals = stop_signals();
    std::thread waiter([&service, signals] {
        int received = 0;
        sigwait(&signals, &received);
        service.Stop();
    });

    std::printf("%s\n", service.BaseUrl().c_str());
    std::fflush(stdout);
    service.Run();

    // The service can also end by itself (its socket failed): wake the waiter.
    pthread_kill(waiter.native_handle(), SIGTERM);
    waiter.join();
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    // Blocked before any thread starts, so every thread inherits the mask.
    const sigset_t signals = stop_signals();
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
    try {
        const ServerOptions options = parse_server_options(std::vector<std::string>(argv + 1, argv + argc));
        if (options.help) {
            std::fputs(server_usage().c_str(), stdout);
            return 0;
        }
        return serve(options);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "catalogue-server: %s\n", e.what());
        return 1;
    }
}

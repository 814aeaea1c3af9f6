// map_timer [--override-redirect] COMMAND [ARGS...]: starts the command and
// prints the microseconds from just before its exec to the first top-level
// window mapped on the display ($DISPLAY), then stops the command. Exit code 1
// when no window comes within 20 s or the command ends first. Override-redirect
// windows (menus, tooltips) do not count unless asked: Wine maps the windows
// it frames itself (with no window manager) that way.
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

struct Connection {
    xcb_connection_t* c;
    ~Connection() { xcb_disconnect(c); }
};

// Asks the command to end; one that has not within 2 s is killed.
void stop(pid_t child)
{
    kill(child, SIGTERM);
    int status = 0;
    for (int i = 0; i < 200; ++i) {
        if (waitpid(child, &status, WNOHANG) == child)
            return;
        usleep(10000);
    }
    kill(child, SIGKILL);
    waitpid(child, &status, 0);
}

} // namespace

int main(int argc, char** argv)
{
    const bool override_redirect_counts = argc > 1 && std::strcmp(argv[1], "--override-redirect") == 0;
    if (override_redirect_counts) {
        --argc;
        ++argv;
    }
    if (argc < 2) {
        std::fputs("usage: map_timer [--override-redirect] COMMAND [ARGS...]\n", stderr);
        return 2;
    }
    Connection x{xcb_connect(nullptr, nullptr)};
    if (xcb_connection_has_error(x.c)) {
        std::fputs("map_timer: no display\n", stderr);
        return 2;
    }
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(x.c)).data;
    // Maps of the root's children are the top-level windows appearing.
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_request_check(x.c, xcb_change_window_attributes_checked(x.c, screen->root, XCB_CW_EVENT_MASK, &mask));

    const Clock::time_point start = Clock::now();
    const pid_t child = fork();
    if (child < 0)
        return 2;
    if (child == 0) {
        execvp(argv[1], argv + 1);
        _exit(127);
    }
    const Clock::time_point deadline = start + std::chrono::seconds(20);
    const int fd = xcb_get_file_descriptor(x.c);
    for (;;) {
        while (xcb_generic_event_t* event = xcb_poll_for_event(x.c)) {
            std::unique_ptr<xcb_generic_event_t, decltype(&std::free)> owned(event, &std::free);
            if ((event->response_type & 0x7F) != XCB_MAP_NOTIFY)
                continue;
            auto* map = reinterpret_cast<xcb_map_notify_event_t*>(event);
            if (map->override_redirect && !override_redirect_counts)
                continue; // menus and tooltips, not the window
            const auto elapsed = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start);
            std::printf("%lld\n", static_cast<long long>(elapsed.count()));
            std::fflush(stdout);
            stop(child);
            return 0;
        }
        if (xcb_connection_has_error(x.c))
            break;
        int status = 0;
        if (waitpid(child, &status, WNOHANG) == child) {
            std::fputs("map_timer: the command ended without a window\n", stderr);
            return 1;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0)
            break;
        pollfd p{fd, POLLIN, 0};
        poll(&p, 1, static_cast<int>(std::min<long long>(left, 50)));
    }
    std::fputs("map_timer: no window within 20 s\n", stderr);
    stop(child);
    return 1;
}

#include "tools/tavrin-probe/Probe.h"

#include "base/TMemoryStream.h"
#include "http/http_client.h"
#include "platform/FileSystem.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

namespace {

// CR and LF written as \r and \n, so one error stays on one line.
std::string one_line(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return out;
}

bool save(const std::string& path, const TMemoryStream& body)
{
    FileHandle file = OpenFile(path, "wb");
    if (!file)
        return false;
    size_t size = static_cast<size_t>(body.Size());
    bool ok = size == 0 || std::fwrite(body.Memory(), 1, size, file.get()) == size;
    return std::fclose(file.release()) == 0 && ok;
}

} // namespace

// get [-o DIR] [--timeout MS] [--pause MS] URL...: one client fetches the
// URLs in turn; --timeout sets the client's connect and read limit, --pause
// waits that long before every URL after the first (to let kept connections
// go idle).
int ProbeGet(int argc, char** argv)
{
    int first = 0;
    const char* dir = nullptr;
    int timeout_ms = 0;
    int pause_ms = 0;
    for (; first + 1 < argc; first += 2) {
        if (std::strcmp(argv[first], "-o") == 0)
            dir = argv[first + 1];
        else if (std::strcmp(argv[first], "--timeout") == 0)
            timeout_ms = std::atoi(argv[first + 1]);
        else if (std::strcmp(argv[first], "--pause") == 0)
            pause_ms = std::atoi(argv[first + 1]);
        else
            break;
    }
    if (first >= argc || timeout_ms < 0 || pause_ms < 0) {
        std::fputs("usage: tavrin-probe get [-o DIR] [--timeout MS] [--pause MS] URL...\n", stderr);
        return 2;
    }
    TNxHTTP client;
    client.ReadTimeout = timeout_ms;
    int failures = 0;
    for (int i = first; i < argc; ++i) {
        if (i > first && pause_ms > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(pause_ms));
        TMemoryStream body;
        try {
            client.Get(argv[i], body);
            std::printf("OK %lld\n", static_cast<long long>(body.Size()));
            if (dir != nullptr) {
                std::string path = std::string(dir) + "/" + std::to_string(i - first + 1);
                if (!save(path, body))
                    std::fprintf(stderr, "cannot write %s\n", path.c_str());
            }
        } catch (const Exception& e) {
            ++failures;
            std::printf("ERR %s %s\n", e.ClassName(), one_line(e.Message()).c_str());
        }
        std::fflush(stdout);
    }
    return failures == 0 ? 0 : 1;
}

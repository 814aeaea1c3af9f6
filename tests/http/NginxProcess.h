#pragma once

#include <filesystem>
#include <string>
#include <sys/types.h>

// A socket connected to port on 127.0.0.1, or -1 when nothing accepts there.
int ConnectToLoopback(int port);

// Debian's nginx as a foreground process of the test's own, on a free
// loopback port, with every file it writes in a temporary folder. The
// configuration is the server block's body; "@ROOT@" in it stands for the
// folder of the served files (Root()). Stopped and removed with the object.
class NginxProcess {
public:
    explicit NginxProcess(const std::string& server_block);
    ~NginxProcess();
    NginxProcess(const NginxProcess&) = delete;
    NginxProcess& operator=(const NginxProcess&) = delete;

    const std::filesystem::path& Root() const { return root_; }
    int Port() const { return port_; }
    std::string Url(const std::string& path) const;
    // The error log, for failure messages.
    std::string ErrorLog() const;

private:
    bool start(const std::string& server_block);
    void stop();

    std::filesystem::path folder_;
    std::filesystem::path root_;
    int port_ = 0;
    pid_t pid_ = -1;
};

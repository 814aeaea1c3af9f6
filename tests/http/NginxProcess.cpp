#include "tests/http/NginxProcess.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <pwd.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <thread>

extern char** environ;

int ConnectToLoopback(int port)
{
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(port));
    if (fd >= 0 && ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        fd = -1;
    }
    return fd;
}

namespace {

constexpr const char* kNginx = "/usr/sbin/nginx";

// A port nobody listens on now; nginx binds it a moment later.
int free_port()
{
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(fd);
    return ntohs(address.sin_port);
}

bool accepts_connections(int port)
{
    int fd = ConnectToLoopback(port);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

void replace_all(std::string& text, const std::string& from, const std::string& to)
{
    for (size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size())
        text.replace(at, from.size(), to);
}

} // namespace

NginxProcess::NginxProcess(const std::string& server_block)
{
    char pattern[] = "/tmp/tavrin-nginx-XXXXXX";
    if (::mkdtemp(pattern) == nullptr)
        throw std::runtime_error("no temporary folder for nginx");
    folder_ = pattern;
    root_ = folder_ / "www";
    std::filesystem::create_directories(root_);
    std::filesystem::create_directories(folder_ / "logs");
    // A port taken between the look-up and nginx's bind: try another.
    for (int attempt = 0; attempt < 5; ++attempt) {
        if (start(server_block))
            return;
        stop();
    }
    std::string log = ErrorLog();
    std::filesystem::remove_all(folder_);
    throw std::runtime_error("nginx did not start: " + log);
}

NginxProcess::~NginxProcess()
{
    stop();
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

bool NginxProcess::start(const std::string& server_block)
{
    port_ = free_port();
    std::string body = server_block;
    replace_all(body, "@ROOT@", root_.string());
    const std::string dir = folder_.string();
    std::string conf;
    // As root nginx would switch its workers to "nobody"; there are none
    // without a master process, but the user must still exist and may read here.
    if (::geteuid() == 0) {
        passwd* self = ::getpwuid(0);
        conf += std::string("user ") + (self ? self->pw_name : "root") + ";\n";
    }
    conf += "pid " + dir + "/nginx.pid;\n"
            "error_log " + dir + "/logs/error.log info;\n"
            "events { worker_connections 64; }\n"
            "http {\n"
            "  access_log " + dir + "/logs/access.log;\n"
            "  client_body_temp_path " + dir + "/body;\n"
            "  proxy_temp_path " + dir + "/proxy;\n"
            "  fastcgi_temp_path " + dir + "/fastcgi;\n"
            "  uwsgi_temp_path " + dir + "/uwsgi;\n"
            "  scgi_temp_path " + dir + "/scgi;\n"
            "  types { text/html html; text/plain txt; image/jpeg jpg; }\n"
            "  server {\n"
            "    listen 127.0.0.1:" + std::to_string(port_) + ";\n" + body + "\n"
            "  }\n"
            "}\n";
    std::ofstream(folder_ / "nginx.conf") << conf;

    std::string prefix = dir + "/";
    std::string conf_path = (folder_ / "nginx.conf").string();
    std::string log_path = (folder_ / "logs" / "error.log").string();
    const char* argv[] = {kNginx, "-p", prefix.c_str(), "-e", log_path.c_str(), "-c", conf_path.c_str(), "-g",
                          "daemon off; master_process off;", nullptr};
    if (::posix_spawn(&pid_, kNginx, nullptr, nullptr, const_cast<char* const*>(argv), environ) != 0) {
        pid_ = -1;
        throw std::runtime_error("cannot run " + std::string(kNginx));
    }
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
        if (accepts_connections(port_))
            return true;
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

void NginxProcess::stop()
{
    if (pid_ <= 0)
        return;
    ::kill(pid_, SIGTERM);
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
}

std::string NginxProcess::Url(const std::string& path) const
{
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::string NginxProcess::ErrorLog() const
{
    std::ifstream in(folder_ / "logs" / "error.log");
    return std::string(std::istreambuf_iterator<char>(in), {});
}

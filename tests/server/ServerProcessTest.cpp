#include "tests/server/ServerTestSupport.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <csignal>
#include <fstream>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// The program as a child whose stdout is read through a pipe.
class ServerProcess {
public:
    explicit ServerProcess(std::vector<std::string> arguments)
    {
        int fds[2];
        if (::pipe(fds) != 0)
            throw std::runtime_error("pipe");
        arguments.insert(arguments.begin(), CATALOGUE_SERVER_PATH);
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(fds[1], STDOUT_FILENO);
            ::close(fds[0]);
            ::close(fds[1]);
            std::vector<char*> argv;
            for (std::string& a : arguments)
                argv.push_back(a.data());
            argv.push_back(nullptr);
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
        ::close(fds[1]);
        out_ = fds[0];
    }
    ~ServerProcess()
    {
        if (pid_ > 0 && !exited_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        ::close(out_);
    }

    // The first line the program prints; empty when it ends without one.
    std::string FirstLine()
    {
        std::string line;
        char c = 0;
        pollfd wait{out_, POLLIN, 0};
        // Generous bound so a broken build fails instead of hanging the suite.
        while (::poll(&wait, 1, 60000) > 0 && ::read(out_, &c, 1) == 1 && c != '\n')
            line += c;
        return line;
    }
    void Signal(int signal) { ::kill(pid_, signal); }
    // The exit code, or -1 after a crash.
    int Wait()
    {
        int status = 0;
        ::waitpid(pid_, &status, 0);
        exited_ = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    pid_t pid_ = -1;
    int out_ = -1;
    bool exited_ = false;
};

TEST(ServerProcess, PrintsItsBaseUrlServesAndStopsCleanlyOnEitherSignal)
{
    for (int signal : {SIGTERM, SIGINT}) {
        TempFolder folder;
        ServerProcess server({"--port", "0", "--db", (folder.Path() / "c.db").string()});
        const std::string url = server.FirstLine();
        std::smatch parts;
        ASSERT_TRUE(std::regex_match(url, parts, std::regex(R"(http://127\.0\.0\.1:([0-9]+)/kestrid/)"))) << url;
        httplib::Client client("127.0.0.1", std::stoi(parts[1]));
        const auto answer = client.Get("/kestrid/ide.php?cq=50100982");
        ASSERT_TRUE(answer);
        EXPECT_EQ(answer->status, 200);
        server.Signal(signal);
        EXPECT_EQ(server.Wait(), 0) << "signal " << signal;
        EXPECT_TRUE(std::filesystem::exists(folder.Path() / "c.db"));
    }
}

TEST(ServerProcess, StartFaultsEndWithAnExitCodeNotACrash)
{
    TempFolder folder;
    const auto not_a_catalogue = folder.Path() / "notes.db";
    std::ofstream(not_a_catalogue) << "notes";
    const std::vector<std::vector<std::string>> cases = {
        {"--port", "http"},
        {"--frobnicate"},
        {"--port", "0", "--db", not_a_catalogue.string()},
        {"--port", "0", "--listen", "999.1.1.1", "--db", (folder.Path() / "d.db").string()},
    };
    for (const auto& arguments : cases) {
        ServerProcess server(arguments);
        EXPECT_EQ(server.FirstLine(), "") << arguments[1];
        EXPECT_EQ(server.Wait(), 1) << arguments[1];
    }
}

} // namespace

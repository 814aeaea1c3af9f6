#include "tests/server/LoopbackConnection.h"
#include "tests/server/ServerTestSupport.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <memory>
#include <sstream>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// The program as a child whose stdout is read through a pipe; its stderr goes to a file
// when one is named.
class ServerProcess {
public:
    explicit ServerProcess(std::vector<std::string> arguments, const std::filesystem::path& errors = {})
    {
        int fds[2];
        if (::pipe(fds) != 0)
            throw std::runtime_error("pipe");
        arguments.insert(arguments.begin(), CATALOGUE_SERVER_PATH);
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(fds[1], STDOUT_FILENO);
            if (!errors.empty()) {
                const int file = ::open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
                ::dup2(file, STDERR_FILENO);
            }
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

    // Everything the program prints until it ends.
    std::string AllOutput()
    {
        std::string text;
        char buffer[4096];
        for (ssize_t n; (n = ::read(out_, buffer, sizeof buffer)) > 0;)
            text.append(buffer, static_cast<std::size_t>(n));
        return text;
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

int port_of(const std::string& url)
{
    std::smatch parts;
    return std::regex_match(url, parts, std::regex(R"(http://127\.0\.0\.1:([0-9]+)/kestrid/)")) ? std::stoi(parts[1])
                                                                                                 : 0;
}

TEST(ServerProcess, StopsAtOnceWithIdleAndHalfSentConnectionsOpen)
{
    using namespace std::chrono;
    TempFolder folder;
    ServerProcess server({"--port", "0", "--db", (folder.Path() / "c.db").string(), "--idle-timeout", "60",
                          "--head-timeout", "60"});
    const int port = port_of(server.FirstLine());
    ASSERT_NE(port, 0);
    std::vector<std::unique_ptr<LoopbackConnection>> clients;
    for (int i = 0; i < 30; ++i) {
        clients.push_back(std::make_unique<LoopbackConnection>(port));
        const std::string request = "GET /kestrid/ide.php?cq=50100982 HTTP/1.1\r\nHost: x\r\n\r\n";
        ASSERT_TRUE(clients.back()->Send(i % 3 == 0 ? request.substr(0, 20) : request));
        if (i % 3 != 0) {
            ASSERT_FALSE(clients.back()->ReadAnswer().empty());
        }
    }
    const auto start = steady_clock::now();
    server.Signal(SIGTERM);
    EXPECT_EQ(server.Wait(), 0);
    // Far below the 60 s the connections would otherwise be kept.
    EXPECT_LT(steady_clock::now() - start, seconds(5));
    for (const auto& client : clients)
        EXPECT_TRUE(client->ClosedWithin(milliseconds(0)));
}

TEST(ServerProcess, HelpPrintsTheOptionsAndLogWritesOneCommonLogLinePerRequest)
{
    ServerProcess help({"--help"});
    const std::string usage = help.AllOutput();
    EXPECT_EQ(help.Wait(), 0);
    for (const char* option : {"--listen", "--port", "--db", "--log", "--idle-timeout", "--head-timeout"})
        EXPECT_NE(usage.find(option), std::string::npos) << option;

    TempFolder folder;
    const auto errors = folder.Path() / "stderr.txt";
    ServerProcess server({"--port", "0", "--db", (folder.Path() / "c.db").string(), "--log"}, errors);
    const int port = port_of(server.FirstLine());
    ASSERT_NE(port, 0);
    httplib::Client client("127.0.0.1", port);
    ASSERT_TRUE(client.Get("/kestrid/ide.php?cq=50100982"));
    ASSERT_TRUE(client.Get("/kestrid/nothing"));
    server.Signal(SIGTERM);
    ASSERT_EQ(server.Wait(), 0);
    std::ifstream file(errors);
    std::stringstream lines;
    lines << file.rdbuf();
    const std::string line = R"(127\.0\.0\.1 - - \[[0-9]{2}/[A-Z][a-z]{2}/[0-9]{4}:[0-9:]{8} [-+][0-9]{4}\] )"
                             R"("GET /kestrid/(ide\.php\?cq=50100982 HTTP/1\.1" 200 330|nothing HTTP/1\.1" 404 14)\n)";
    const std::string text = lines.str();
    EXPECT_TRUE(std::regex_match(text, std::regex("(" + line + "){2}"))) << text;
}

} // namespace

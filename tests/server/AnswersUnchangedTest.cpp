// Every kind of answer the service gives, pinned as status, headers and a digest of the body,
// so that a change of the HTTP layer below the service cannot change what clients receive.
// TAVRIN_RECORD_ANSWERS=FILE writes the file instead of comparing with it.
#include "tests/server/ServerTestSupport.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>

namespace {

struct Ask {
    const char* method;
    std::string target;
    httplib::Headers headers;
};

std::vector<Ask> asks()
{
    const std::string batch = "idf.php?cq=" + std::to_string(subcategory_of_size(310));
    const httplib::Headers session = {{"Cookie", "tavrin_session=0123456789abcdef"}};
    std::vector<Ask> list;
    for (const char* target :
         {"ide.php?cq=50100982", "ide.php?cq=50100983", "ide.php?cq=50200001", "ide.php", "ide.php?cq",
          "ide.php?cq=", "ide.php?cq=abc", "ide.php?cq=5+", "ide.php?cq=%35%30100982", "ide.php?cq=1&cq=50100982",
          "ide.php?x=1&cq=50100982", "idf.php?cq=50200001", "idf.php?cp=0", "idf.php?cq=x&cp=0",
          "idf.php?cq=1234567890123456789&cp=0", "idf.php?cq=50200001&cp=9999999999999", "index.php?cid=1",
          "index.php?cid=", "index.php?cid=12x4", "index.php?cid=523000101", "index.php?cid=523000102",
          "item.php?id=523000101&from=tavrin", "item.php?id=abc", "pic/523000101.jpg", "pic/523000102.jpg",
          "pic/523000107.jpg", "pic/1.jpg", "pic/abc.jpg", "pic/.jpg", "pic/1234567890123456789.jpg",
          "ide%2Ephp?cq=50100982", "nothing-here", ""})
        list.push_back({"GET", std::string("/kestrid/") + target, {}});
    for (const char* cp : {"0", "96", "576", "672", "999999999998"})
        list.push_back({"GET", "/kestrid/" + batch + "&cp=" + cp, {}});
    list.push_back({"GET", "/", {}});
    list.push_back({"GET", "/kestrid/" + batch + "&cp=0", {{"Host", "catalogue.test:8080"}}});
    list.push_back({"GET", "/kestrid/" + batch + "&cp=0", {{"Host", "bad\"host"}}});
    list.push_back({"GET", "/kestrid/index.php?cid=523000101", {{"Host", "catalogue.test"}}});
    list.push_back({"GET", "/kestrid/ide.php?cq=50100982", session});
    list.push_back({"GET", "/kestrid/ide.php?cq=50100982", {{"Cookie", "a=1; tavrin_session=x"}}});
    list.push_back({"GET", "/kestrid/ide.php?cq=50100982", {{"Cookie", "tavrin_session="}}});
    for (const char* range : {"bytes=0-9", "bytes=100-", "bytes=-20", "bytes=99999999-", "bytes=5-2", "items=0-1"})
        list.push_back({"GET", "/kestrid/pic/523000101.jpg", {{"Range", range}}});
    list.push_back({"HEAD", "/kestrid/ide.php?cq=50100982", {}});
    list.push_back({"HEAD", "/kestrid/pic/523000101.jpg", session});
    list.push_back({"HEAD", "/kestrid/ide.php", {}});
    for (const char* method : {"POST", "PUT", "PATCH", "DELETE", "OPTIONS"})
        list.push_back({method, "/kestrid/ide.php?cq=50100982", {}});
    return list;
}

std::uint64_t fnv1a(const std::string& bytes)
{
    std::uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : bytes)
        hash = (hash ^ c) * 1099511628211ull;
    return hash;
}

// One block per answer: the request, the status, the headers in name order, the body's size
// and digest. A fresh session id reads as <id>; the keep-alive hint follows the options; the
// service's own address, which pages and documents carry, reads as HOST.
std::string describe(const Ask& ask, const httplib::Result& answer, const std::string& host)
{
    std::ostringstream out;
    out << ask.method << " " << ask.target;
    for (const auto& [name, value] : ask.headers)
        out << " [" << name << ": " << value << "]";
    out << "\n";
    if (!answer) {
        out << "  no answer\n";
        return out.str();
    }
    out << "  " << answer->status << "\n";
    static const std::regex fresh_cookie("tavrin_session=[0-9a-f]{16}; Path=/");
    for (const auto& [name, value] : answer->headers) {
        if (name == "Keep-Alive")
            continue;
        out << "  " << name << ": " << (name == "Set-Cookie" && std::regex_match(value, fresh_cookie) ? "<id>" : value)
            << "\n";
    }
    std::string body = answer->body;
    for (std::size_t at = body.find(host); at != std::string::npos; at = body.find(host, at))
        body.replace(at, host.size(), "HOST");
    char digest[17];
    std::snprintf(digest, sizeof digest, "%016llx", static_cast<unsigned long long>(fnv1a(body)));
    out << "  body " << body.size() << " " << digest << "\n";
    return out.str();
}

std::string all_answers(httplib::Client& client, const std::string& host)
{
    std::string text;
    for (const Ask& ask : asks()) {
        httplib::Request request;
        request.method = ask.method;
        request.path = ask.target;
        request.headers = ask.headers;
        if (request.method == "POST" || request.method == "PUT" || request.method == "PATCH")
            request.body = "x";
        text += describe(ask, client.send(request), host);
    }
    return text;
}

TEST(AnswersUnchanged, EveryKindOfAnswerMatchesTheRecordedOnes)
{
    RunningService service;
    httplib::Client client("127.0.0.1", service.Port());
    client.set_keep_alive(true);
    const std::string answers = all_answers(client, service.Host());

    if (const char* record = std::getenv("TAVRIN_RECORD_ANSWERS")) {
        std::ofstream(record, std::ios::binary) << answers;
        GTEST_SKIP() << "recorded into " << record;
    }
    std::ifstream file(ANSWERS_RECORD_PATH, std::ios::binary);
    ASSERT_TRUE(file) << ANSWERS_RECORD_PATH;
    const std::string recorded((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    // Compared block by block so a failure names the request.
    std::istringstream now(answers), then(recorded);
    std::string now_line, then_line;
    int line = 0;
    while (std::getline(then, then_line)) {
        ++line;
        ASSERT_TRUE(std::getline(now, now_line)) << "answers end before line " << line;
        ASSERT_EQ(now_line, then_line) << "line " << line;
    }
    EXPECT_FALSE(std::getline(now, now_line)) << "more answers than recorded: " << now_line;
}

} // namespace

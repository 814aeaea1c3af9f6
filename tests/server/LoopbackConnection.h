#pragma once

#include <chrono>
#include <string>

// A raw client connection to a loopback port, for tests that must control every byte and
// see when the service closes the connection.
class LoopbackConnection {
public:
    explicit LoopbackConnection(int port);
    ~LoopbackConnection();
    LoopbackConnection(const LoopbackConnection&) = delete;
    LoopbackConnection& operator=(const LoopbackConnection&) = delete;

    // False once the service has closed the connection.
    bool Send(const std::string& bytes);
    // Reads one whole answer (head and Content-Length body); empty when the connection ends first.
    std::string ReadAnswer(std::chrono::milliseconds bound = std::chrono::seconds(10));
    // Polls until the service closes the connection; false when it is still open after bound.
    bool ClosedWithin(std::chrono::milliseconds bound);

private:
    int fd_ = -1;
    std::string pending_;
};

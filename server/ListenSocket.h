#pragma once

#include <string>

// A listening TCP socket, owned: connections wait in its backlog until someone accepts them.
class ListenSocket {
public:
    ListenSocket() = default;
    // Takes the address (numeric, or a name resolved locally); port 0 picks a free port.
    static ListenSocket Open(const std::string& address, int port, int backlog);
    ~ListenSocket();
    ListenSocket(ListenSocket&& other) noexcept;
    ListenSocket& operator=(ListenSocket&& other) noexcept;

    int Fd() const { return fd_; }
    int Port() const { return port_; }
    void Close();

private:
    int fd_ = -1;
    int port_ = 0;
};

struct sockaddr;

// The numeric text of a peer's address, "-" when there is none.
std::string address_text(const sockaddr* address);
// Ends both directions of a connection whose descriptor someone else owns: its owner sees
// the end and closes it.
void shut_connection(int fd);

#include "platform/SocketLayer.h"

#include <winsock2.h>

// Windows Sockets 2.2; each successful start is paired with one cleanup.
SocketLayer::SocketLayer()
{
    WSADATA data;
    start_error_ = ::WSAStartup(MAKEWORD(2, 2), &data);
}

SocketLayer::~SocketLayer()
{
    if (start_error_ == 0)
        ::WSACleanup();
}

#include "platform/SocketLayer.h"

// POSIX sockets need no start.
SocketLayer::SocketLayer() = default;
SocketLayer::~SocketLayer() = default;

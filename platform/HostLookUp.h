#pragma once

#include <string>

// The system's name look-up behind ResolveHost, one per platform: name is
// not empty, holds no NUL, and is neither "localhost" nor a dotted quad.
// Returns 0 with the first IPv4 address in dotted, or the socket error number.
int LookUpHost(const std::string& name, std::string& dotted);

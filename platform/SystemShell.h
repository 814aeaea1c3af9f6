#pragma once

#include <string>

// The system's own hand-off behind ShellOpen, one per platform.
void SystemShellOpen(const std::string& address);

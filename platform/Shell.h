#pragma once

#include <functional>
#include <string>

// Hands an address to the desktop's default browser and does not wait for
// it. Failures (no browser, no opener) are not reported: the caller has
// nothing to do about them.
void ShellOpen(const std::string& address);

// Tests route the address here instead of starting a browser; an empty
// function restores the real shell.
void SetShellOpenHook(std::function<void(const std::string&)> hook);

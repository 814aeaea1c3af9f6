#pragma once

#include <cstdint>
#include <span>

// The program's icon file (res/icon.ico), built into the executable.
std::span<const uint8_t> WindowIconFile();

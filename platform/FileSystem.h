#pragma once

#include <string>

// The folder of the running executable with its trailing "/", or empty when
// the system cannot tell (file names are then taken relative to the current
// directory).
std::string ExecutableFolder();

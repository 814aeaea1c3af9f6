#pragma once

#include <string>
#include <vector>

// The program's arguments in UTF-8, like file names everywhere in the
// program: on Windows from the wide command line (argv there is in the
// ANSI code page and loses what that lacks), elsewhere argv as it is.
std::vector<std::string> CommandLineArguments(int argc, char** argv);

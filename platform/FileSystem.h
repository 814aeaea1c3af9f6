#pragma once

#include <cstdio>
#include <memory>
#include <string>

// File names are UTF-8 everywhere in the program; each platform opens them
// by the system's own form, so a folder with any characters works.

// The folder of the running executable with its trailing separator, in
// UTF-8, or empty when the system cannot tell (file names are then taken
// relative to the current directory).
std::string ExecutableFolder();

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

// Opens the file named in UTF-8 like std::fopen with mode ("rb", "wb");
// empty with errno set when it cannot.
FileHandle OpenFile(const std::string& name, const char* mode);

// True for a character that separates folders in a file name.
bool IsPathSeparator(char c);

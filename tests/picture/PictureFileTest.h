#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

class TPicture;

// File names in the program are UTF-8; these turn them into paths and back
// on every system (a narrow path means the ANSI code page on Windows).
std::filesystem::path path_of(const std::string& utf8);
std::string utf8_of(const std::filesystem::path& path);

// A fresh folder per test, removed afterwards.
class PictureFileTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes bytes to the UTF-8 name inside the folder; returns the full name in UTF-8.
    std::string Write(const std::string& name, const std::vector<uint8_t>& bytes);

    std::filesystem::path dir_;
};

// The message of the error LoadFromFile raises, or "" when it loads.
std::string message_of(TPicture& picture, const std::string& path);

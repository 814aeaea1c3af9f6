#include "tests/picture/PictureFileTest.h"

#include "picture/picture.h"

#include <fstream>
#include <random>

namespace fs = std::filesystem;

fs::path path_of(const std::string& utf8)
{
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string utf8_of(const fs::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

void PictureFileTest::SetUp()
{
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    // Unique across processes: builds for two systems may run the same test at once.
    const auto unique = std::random_device{}();
    dir_ = fs::temp_directory_path() / ("tavrin-picture-" + std::to_string(unique) + "-" + info->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
}

void PictureFileTest::TearDown()
{
    fs::remove_all(dir_);
}

std::string PictureFileTest::Write(const std::string& name, const std::vector<uint8_t>& bytes)
{
    const fs::path path = dir_ / path_of(name);
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
    return utf8_of(path);
}

std::string message_of(TPicture& picture, const std::string& path)
{
    try {
        picture.LoadFromFile(path);
    } catch (const Exception& error) {
        return error.Message();
    }
    return "";
}

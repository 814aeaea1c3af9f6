#include "platform/FileSystem.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <random>
#include <string>

namespace fs = std::filesystem;

namespace {

fs::path path_of(const std::string& utf8)
{
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string utf8_of(const fs::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

TEST(ExecutableFolder, IsTheAbsoluteFolderOfTheRunningProgramWithItsSeparator)
{
    const std::string folder = ExecutableFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_TRUE(IsPathSeparator(folder.back())) << folder;
    EXPECT_TRUE(path_of(folder).is_absolute()) << folder;
    // The tests are built beside their program's tag icons: bin/.
    EXPECT_EQ(path_of(folder).parent_path().filename(), "bin") << folder;
    EXPECT_TRUE(fs::is_directory(path_of(folder))) << folder;
}

// A name the code page cannot hold (Thai, an emoji) is created and read
// under exactly that name: nothing goes through the code page.
TEST(OpenFile, NamesAreTheFileSystemsOwnWhateverTheirCharacters)
{
    const fs::path dir = fs::temp_directory_path() / ("tavrin-open-" + std::to_string(std::random_device{}()));
    fs::create_directories(dir);
    const char* names[] = {
        "\xE0\xB8\x81\xE0\xB8\xB2\xE0\xB8\xA3.txt",      // การ
        "\xF0\x9F\x98\x80 \xE4\xB8\xAD\xE6\x96\x87.txt",  // 😀 中文
        "plain.txt",
    };
    for (const char* name : names) {
        SCOPED_TRACE(name);
        const std::string full = utf8_of(dir / path_of(name));
        {
            FileHandle file = OpenFile(full, "wb");
            ASSERT_TRUE(file);
            EXPECT_EQ(std::fwrite(name, 1, 3, file.get()), 3u);
        }
        EXPECT_TRUE(fs::exists(dir / path_of(name)));
        FileHandle file = OpenFile(full, "rb");
        ASSERT_TRUE(file);
        char back[4] = {};
        EXPECT_EQ(std::fread(back, 1, sizeof back, file.get()), 3u);
        EXPECT_EQ(std::string(back, 3), std::string(name, 3));
    }
    EXPECT_FALSE(OpenFile(utf8_of(dir / "absent.txt"), "rb"));
    EXPECT_EQ(errno, ENOENT);
    fs::remove_all(dir);
}

} // namespace

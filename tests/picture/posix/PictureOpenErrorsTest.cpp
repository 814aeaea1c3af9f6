#include "picture/picture.h"
#include "tests/picture/PictureFileTest.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace fs = std::filesystem;

// A folder and an endless device are refused with the system's reasons.
TEST_F(PictureFileTest, OpenFailuresNameTheFullPathAndTheSystemReason)
{
    fs::create_directories(dir_ / "folder.jpg");
    fs::create_symlink("/dev/zero", dir_ / "endless.jpg");
    const fs::path saved = fs::current_path();
    fs::current_path(dir_);
    TPicture picture;
    EXPECT_EQ(message_of(picture, "folder.jpg"),
              "Cannot open file \"" + (dir_ / "folder.jpg").string() + "\". Is a directory");
    EXPECT_EQ(message_of(picture, "endless.jpg"),
              "Cannot open file \"" + (dir_ / "endless.jpg").string() + "\". File too large");
    fs::current_path(saved);
    EXPECT_EQ(picture.Graphic(), nullptr);
}

#include "picture/picture.h"
#include "tests/picture/JpegMaker.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// A fresh folder per test, removed afterwards.
class PictureFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = fs::temp_directory_path() / ("tavrin-picture-" + std::to_string(::getpid()) + "-" + info->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string Write(const std::string& name, const std::vector<uint8_t>& bytes)
    {
        const fs::path path = dir_ / name;
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                    static_cast<std::streamsize>(bytes.size()));
        return path.string();
    }

    fs::path dir_;
};

std::string message_of(TPicture& picture, const std::string& path)
{
    try {
        picture.LoadFromFile(path);
    } catch (const Exception& error) {
        return error.Message();
    }
    return "";
}

} // namespace

TEST_F(PictureFileTest, ExtensionIsFoundWhateverItsCaseAndOnlyInTheNamePart)
{
    const std::vector<uint8_t> jpeg = make_quarters_jpeg({12, 10});
    struct Case {
        const char* name;
        const char* expected; // empty: loads
    };
    const Case cases[] = {
        {"XP.JPG", ""},
        {"a.jpeg", ""},
        {"b.JpEg", ""},
        {"archive.tar.jpg", ""},
        {"noext", "Unknown picture file extension (.)"},
        {"dotted.", "Unknown picture file extension (.)"},
        {"pic.PNG", "Unknown picture file extension (.PNG)"},
        {"folder.jpg/inner", "Unknown picture file extension (.)"},
        {"image.gif", "Unknown picture file extension (.gif)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TPicture picture;
        EXPECT_EQ(message_of(picture, Write(c.name, jpeg)), c.expected);
        EXPECT_EQ(picture.Graphic() != nullptr, std::string(c.expected).empty());
    }
}

TEST_F(PictureFileTest, RegisteredTypesWithoutADecoderFailClearly)
{
    for (const char* name : {"a.bmp", "a.ico", "a.wmf", "a.EMF"}) {
        SCOPED_TRACE(name);
        TPicture picture;
        EXPECT_THROW(picture.LoadFromFile(Write(name, {0x42, 0x4D})), EInvalidGraphic);
        EXPECT_EQ(picture.Graphic(), nullptr);
    }
}

TEST_F(PictureFileTest, OpenFailuresNameTheFullPathAndTheSystemReason)
{
    fs::create_directories(dir_ / "folder.jpg");
    fs::create_symlink("/dev/zero", dir_ / "endless.jpg");
    const fs::path saved = fs::current_path();
    fs::current_path(dir_);
    TPicture picture;
    const std::string full = (dir_ / "missing.jpg").lexically_normal().string();
    EXPECT_EQ(message_of(picture, "./sub/../missing.jpg"), "Cannot open file \"" + full + "\". No such file or directory");
    EXPECT_EQ(message_of(picture, "folder.jpg"),
              "Cannot open file \"" + (dir_ / "folder.jpg").string() + "\". Is a directory");
    EXPECT_EQ(message_of(picture, "endless.jpg"),
              "Cannot open file \"" + (dir_ / "endless.jpg").string() + "\". File too large");
    fs::current_path(saved);
    EXPECT_EQ(picture.Graphic(), nullptr);
}

TEST_F(PictureFileTest, NamesInMessagesAreInTheCodePageWhileFilesOpenByTheirRealNames)
{
    // The folder 中文 as the file system holds it (UTF-8), and in GBK.
    const std::string folder = "\xE4\xB8\xAD\xE6\x96\x87";
    const std::string folder_gbk = "\xD6\xD0\xCE\xC4";
    TPicture picture;
    EXPECT_EQ(message_of(picture, Write(folder + "/xp.jpg", make_quarters_jpeg({12, 10}))), "");
    EXPECT_EQ(picture.Width(), 12);
    EXPECT_EQ(message_of(picture, (dir_ / folder / "missing.jpg").string()),
              "Cannot open file \"" + dir_.string() + "/" + folder_gbk + "/missing.jpg\". No such file or directory");
    // 图 as an extension; an emoji (outside the code page) as one "?".
    EXPECT_EQ(message_of(picture, Write("a.\xE5\x9B\xBE", {1})), "Unknown picture file extension (.\xCD\xBC)");
    EXPECT_EQ(message_of(picture, (dir_ / "\xF0\x9F\x98\x80.jpg").string()),
              "Cannot open file \"" + dir_.string() + "/?.jpg\". No such file or directory");
    EXPECT_EQ(picture.Width(), 12);
}

TEST_F(PictureFileTest, FailedLoadKeepsTheOldGraphicAndTellsNobody)
{
    TPicture picture;
    int changes = 0;
    picture.OnChange = [&] { ++changes; };
    picture.LoadFromFile(Write("good.jpg", make_quarters_jpeg({30, 20})));
    EXPECT_EQ(changes, 1);
    TGraphic* kept = picture.Graphic();
    ASSERT_NE(kept, nullptr);

    try {
        picture.LoadFromFile(Write("bad.jpg", {'n', 'o', 'p', 'e'}));
        ADD_FAILURE() << "loaded";
    } catch (const EJPEG& error) {
        EXPECT_EQ(error.Code(), 53);
    }
    EXPECT_THROW(picture.LoadFromFile((dir_ / "absent.jpg").string()), EFOpenError);
    EXPECT_THROW(picture.LoadFromFile(Write("bad.txt", {})), EInvalidGraphic);
    EXPECT_EQ(picture.Graphic(), kept);
    EXPECT_EQ(picture.Width(), 30);
    EXPECT_EQ(changes, 1);
}

TEST(TPicture, AssignKeepsAnOwnCopyAndNullClears)
{
    TJPEGImage image;
    image.LoadFromBytes(make_quarters_jpeg({10, 10}));
    TPicture picture;
    int changes = 0;
    picture.OnChange = [&] { ++changes; };
    picture.Assign(&image);
    ASSERT_NE(picture.Graphic(), nullptr);
    EXPECT_NE(picture.Graphic(), &image);
    EXPECT_EQ(dynamic_cast<TJPEGImage*>(picture.Graphic())->Data(), image.Data());
    EXPECT_EQ(changes, 1);

    // A reload of the held graphic reaches the picture's owner.
    dynamic_cast<TJPEGImage*>(picture.Graphic())->LoadFromBytes(make_quarters_jpeg({8, 4}));
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(picture.Width(), 8);

    picture.Assign(nullptr);
    EXPECT_EQ(picture.Graphic(), nullptr);
    EXPECT_EQ(changes, 3);
}

TEST(TFileFormatList, LaterEntryForAnExtensionWins)
{
    TFileFormatList formats;
    ASSERT_NE(formats.Find("JPG"), nullptr);
    EXPECT_EQ(formats.Find("JPG")->Description, "JPEG Image File");
    formats.Add("JPG", "Newer", nullptr);
    EXPECT_EQ(formats.Find("jpg")->Description, "Newer");
    EXPECT_EQ(formats.Find("jpeg")->Description, "JPEG Image File");
    EXPECT_EQ(formats.Find("jp"), nullptr);
    EXPECT_EQ(formats.Find(""), nullptr);
}

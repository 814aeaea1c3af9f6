#include "picture/picture.h"
#include "tests/picture/JpegMaker.h"
#include "tests/picture/PictureFileTest.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {

// Folders in messages are shown with the system's own separator.
const std::string kSeparator(1, static_cast<char>(fs::path::preferred_separator));

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

TEST_F(PictureFileTest, MissingFileNamesItsFullPathAndTheSystemReason)
{
    const fs::path saved = fs::current_path();
    fs::current_path(dir_);
    TPicture picture;
    const std::string full = utf8_of((dir_ / "missing.jpg").lexically_normal());
    EXPECT_EQ(message_of(picture, "./sub/../missing.jpg"), "Cannot open file \"" + full + "\". No such file or directory");
    fs::current_path(saved);
    EXPECT_EQ(picture.Graphic(), nullptr);
}

TEST_F(PictureFileTest, NamesInMessagesAreInTheCodePageWhileFilesOpenByTheirRealNames)
{
    // The folder 中文 as the file system holds it (UTF-8), and in GBK.
    const std::string folder = "\xE4\xB8\xAD\xE6\x96\x87";
    const std::string folder_gbk = "\xD6\xD0\xCE\xC4";
    // The temporary folder's own name is ASCII here.
    const std::string base = utf8_of(dir_.lexically_normal());
    TPicture picture;
    EXPECT_EQ(message_of(picture, Write(folder + "/xp.jpg", make_quarters_jpeg({12, 10}))), "");
    EXPECT_EQ(picture.Width(), 12);
    EXPECT_EQ(message_of(picture, utf8_of(dir_ / path_of(folder) / "missing.jpg")),
              "Cannot open file \"" + base + kSeparator + folder_gbk + kSeparator +
                  "missing.jpg\". No such file or directory");
    // 图 as an extension; an emoji (outside the code page) as one "?".
    EXPECT_EQ(message_of(picture, Write("a.\xE5\x9B\xBE", {1})), "Unknown picture file extension (.\xCD\xBC)");
    EXPECT_EQ(message_of(picture, utf8_of(dir_ / path_of("\xF0\x9F\x98\x80.jpg"))),
              "Cannot open file \"" + base + kSeparator + "?.jpg\". No such file or directory");
    EXPECT_EQ(picture.Width(), 12);
}

// Names the code page cannot hold (Thai, an emoji) still open: files are
// opened by their real names, never through the code page.
TEST_F(PictureFileTest, FilesOpenWhateverCharactersTheirFoldersHave)
{
    const char* folders[] = {
        "\xE0\xB8\x81\xE0\xB8\xB2\xE0\xB8\xA3",  // การ
        "\xF0\x9F\x98\x80 \xE4\xB8\xAD",             // 😀 中
        "caf\xC3\xA9",                             // café
    };
    for (const char* folder : folders) {
        SCOPED_TRACE(folder);
        TPicture picture;
        EXPECT_EQ(message_of(picture, Write(std::string(folder) + "/res/xp.jpg", make_quarters_jpeg({14, 6}))), "");
        EXPECT_EQ(picture.Width(), 14);
        EXPECT_EQ(picture.Height(), 6);
    }
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
    EXPECT_THROW(picture.LoadFromFile(utf8_of(dir_ / "absent.jpg")), EFOpenError);
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
    // Nothing to clear, nobody to tell.
    picture.Clear();
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

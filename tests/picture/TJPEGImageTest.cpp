#include "picture/picture.h"
#include "tests/picture/JpegMaker.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

// Every test starts on a true-colour screen and leaves it so.
class JpegTest : public ::testing::Test {
protected:
    void SetUp() override { SetScreenBitsPerPixel(24); }
    void TearDown() override { SetScreenBitsPerPixel(24); }
};

TJPEGImage loaded(const std::vector<uint8_t>& bytes)
{
    TJPEGImage image;
    image.LoadFromBytes(bytes);
    return image;
}

uint32_t rgb_at(const TBitmap& bitmap, int x, int y)
{
    const uint8_t* row = bitmap.ScanLine(y);
    if (bitmap.BitsPerPixel() == 8)
        return bitmap.Palette().at(row[x]);
    const uint8_t* p = row + x * 3;
    return (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | p[2];
}

// Lossy coding moves colours a little; a channel may be this far off.
bool near(uint32_t actual, uint32_t expected, int tolerance)
{
    for (int shift : {16, 8, 0}) {
        const int a = static_cast<int>((actual >> shift) & 0xFF);
        const int e = static_cast<int>((expected >> shift) & 0xFF);
        if (std::abs(a - e) > tolerance)
            return false;
    }
    return true;
}

bool near_colour(uint32_t actual, uint32_t expected)
{
    return near(actual, expected, 24);
}

void expect_quarters(const TBitmap& bitmap)
{
    const int w = bitmap.Width();
    const int h = bitmap.Height();
    EXPECT_PRED2(near_colour, rgb_at(bitmap, w / 4, h / 4), 0xFF0000u);
    EXPECT_PRED2(near_colour, rgb_at(bitmap, 3 * w / 4, h / 4), 0x00FF00u);
    EXPECT_PRED2(near_colour, rgb_at(bitmap, w / 4, 3 * h / 4), 0x0000FFu);
    EXPECT_PRED2(near_colour, rgb_at(bitmap, 3 * w / 4, 3 * h / 4), 0xFFFFFFu);
}

// Sets the size fields of the first SOF marker, so a tiny file claims a huge picture.
void claim_size(std::vector<uint8_t>& jpeg, int width, int height)
{
    for (size_t i = 2; i + 8 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xFF && (jpeg[i + 1] == 0xC0 || jpeg[i + 1] == 0xC2)) {
            jpeg[i + 5] = static_cast<uint8_t>(height >> 8);
            jpeg[i + 6] = static_cast<uint8_t>(height);
            jpeg[i + 7] = static_cast<uint8_t>(width >> 8);
            jpeg[i + 8] = static_cast<uint8_t>(width);
            return;
        }
    }
    FAIL() << "no SOF marker";
}

} // namespace

TEST_F(JpegTest, EachKindOfFileDecodesToTheRightPixels)
{
    struct Case {
        const char* name;
        JpegRecipe recipe;
        int screenBits;
        bool grayscale, progressive;
        int bits;
    };
    const Case cases[] = {
        {"baseline", {40, 24, false, false, 90}, 24, false, false, 24},
        {"progressive", {40, 24, false, true, 90}, 24, false, true, 24},
        {"odd size", {37, 21, false, false, 90}, 24, false, false, 24},
        {"baseline on a palette screen", {40, 24, false, false, 90}, 8, false, false, 8},
        {"progressive on a palette screen", {40, 24, false, true, 90}, 4, false, true, 8},
        // Four-component rows would overrun a three-byte pixel row; they are converted.
        {"CMYK", {40, 24, false, false, 90, true}, 24, false, false, 24},
        {"CMYK on a palette screen stays true colour", {40, 24, false, false, 90, true}, 8, false, false, 24},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SetScreenBitsPerPixel(c.screenBits);
        TJPEGImage image = loaded(make_quarters_jpeg(c.recipe));
        EXPECT_EQ(image.Width(), c.recipe.Width);
        EXPECT_EQ(image.Height(), c.recipe.Height);
        EXPECT_EQ(image.Grayscale(), c.grayscale);
        EXPECT_EQ(image.ProgressiveEncoding(), c.progressive);
        const TBitmap& bitmap = image.Bitmap();
        ASSERT_EQ(bitmap.Width(), c.recipe.Width);
        ASSERT_EQ(bitmap.Height(), c.recipe.Height);
        ASSERT_EQ(bitmap.BitsPerPixel(), c.bits);
        if (c.bits == 8) {
            EXPECT_LE(bitmap.Palette().size(), static_cast<size_t>(TJPEGImage::kPaletteColours));
        }
        expect_quarters(bitmap);
    }
}

TEST_F(JpegTest, GrayscaleFileDecodesToAGrayPaletteEvenOnAColourScreen)
{
    const JpegRecipe recipe{64, 8, true, false, 95};
    TJPEGImage image = loaded(make_jpeg(recipe, [](int x, int) { return uint32_t(x * 4) << 8; }));
    EXPECT_TRUE(image.Grayscale());
    const TBitmap& bitmap = image.Bitmap();
    ASSERT_EQ(bitmap.BitsPerPixel(), 8);
    ASSERT_FALSE(bitmap.Palette().empty());
    EXPECT_LE(bitmap.Palette().size(), static_cast<size_t>(TJPEGImage::kPaletteColours));
    for (uint32_t entry : bitmap.Palette())
        EXPECT_TRUE((entry >> 16) == (entry & 0xFF) && ((entry >> 8) & 0xFF) == (entry & 0xFF)) << std::hex << entry;
    EXPECT_PRED3(near, rgb_at(bitmap, 2, 4), 0x080808u, 12);
    EXPECT_PRED3(near, rgb_at(bitmap, 60, 4), 0xF0F0F0u, 12);
}

TEST_F(JpegTest, LibraryRefusalsBecomeJpegErrorsWithTheClassicCodes)
{
    // Code 0: that step succeeds.
    struct Case {
        const char* name;
        std::string bytes;
        int loadCode;
        int decodeCode;
    };
    const Case cases[] = {
        {"zero bytes load as an empty picture", "", 0, 42},
        {"text is not a JPEG", "not a JPEG", 53, 0},
        {"PNG signature", "\x89PNG\r\n\x1a\n", 53, 0},
        {"a single byte", "\xFF", 53, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TJPEGImage image;
        const std::vector<uint8_t> bytes(c.bytes.begin(), c.bytes.end());
        try {
            image.LoadFromBytes(bytes);
            EXPECT_EQ(c.loadCode, 0);
        } catch (const EJPEG& error) {
            EXPECT_EQ(error.Code(), c.loadCode);
            EXPECT_EQ(error.Message(), "JPEG error #" + std::to_string(c.loadCode));
            continue;
        }
        EXPECT_EQ(image.Width(), 0);
        EXPECT_EQ(image.Height(), 0);
        EXPECT_FALSE(image.Empty());
        try {
            image.Bitmap();
            ADD_FAILURE() << "decoded";
        } catch (const EJPEG& error) {
            EXPECT_EQ(error.Code(), c.decodeCode);
            EXPECT_EQ(error.Message(), "JPEG error #" + std::to_string(c.decodeCode));
        }
    }
}

TEST_F(JpegTest, CutShortFileDecodesWhatArrivedWithoutError)
{
    for (bool progressive : {false, true}) {
        SCOPED_TRACE(progressive ? "progressive" : "baseline");
        std::vector<uint8_t> whole = make_quarters_jpeg({64, 64, false, progressive, 90});
        // Cut halfway through the data after the first scan header.
        size_t sos = 0;
        while (sos + 1 < whole.size() && !(whole[sos] == 0xFF && whole[sos + 1] == 0xDA))
            ++sos;
        ASSERT_LT(sos + 1, whole.size());
        std::vector<uint8_t> cut(whole.begin(), whole.begin() + static_cast<long>(sos + (whole.size() - sos) / 2));
        TJPEGImage image = loaded(cut);
        const TBitmap& bitmap = image.Bitmap();
        EXPECT_EQ(image.State(), TJPEGImage::DecodeState::Decoded);
        ASSERT_EQ(bitmap.Width(), 64);
        ASSERT_EQ(bitmap.Height(), 64);
        EXPECT_PRED2(near_colour, rgb_at(bitmap, 8, 8), 0xFF0000u);
    }
}

TEST_F(JpegTest, FailedDecodeIsNotRetriedAndKeepsItsEmptyBitmap)
{
    TJPEGImage image;
    image.LoadFromBytes({});
    EXPECT_THROW(image.Bitmap(), EJPEG);
    EXPECT_EQ(image.State(), TJPEGImage::DecodeState::Failed);
    const TBitmap& again = image.Bitmap();
    EXPECT_TRUE(again.Empty());
    EXPECT_EQ(image.State(), TJPEGImage::DecodeState::Failed);
}

TEST_F(JpegTest, SecondBitmapCallReturnsTheSameDecodedBitmap)
{
    TJPEGImage image = loaded(make_quarters_jpeg({32, 32}));
    EXPECT_EQ(image.State(), TJPEGImage::DecodeState::NotDecoded);
    EXPECT_FALSE(image.HasBitmap());
    const TBitmap* first = &image.Bitmap();
    EXPECT_EQ(&image.Bitmap(), first);
    EXPECT_EQ(image.State(), TJPEGImage::DecodeState::Decoded);
}

TEST_F(JpegTest, HeaderClaimingAHugePictureIsRefusedBeforeAllocating)
{
    std::vector<uint8_t> jpeg = make_quarters_jpeg({16, 16});
    claim_size(jpeg, 60000, 60000);
    TJPEGImage image = loaded(jpeg);
    EXPECT_EQ(image.Width(), 60000);
    try {
        image.Bitmap();
        ADD_FAILURE() << "decoded";
    } catch (const EJPEG& error) {
        EXPECT_EQ(error.Code(), 41);
    }
    // The bitmap attached before the failure now gives the size.
    EXPECT_EQ(image.Width(), 0);
}

TEST_F(JpegTest, CopiesShareTheCompressedBytesAndTakeTheDecodedBitmap)
{
    TJPEGImage original = loaded(make_quarters_jpeg({24, 24}));
    auto undecoded_copy = original.Clone();
    auto& first = dynamic_cast<TJPEGImage&>(*undecoded_copy);
    EXPECT_EQ(first.Data().get(), original.Data().get());
    EXPECT_FALSE(first.HasBitmap());
    EXPECT_EQ(first.Width(), 24);

    const TBitmap& decoded = original.Bitmap();
    auto decoded_copy = original.Clone();
    auto& second = dynamic_cast<TJPEGImage&>(*decoded_copy);
    EXPECT_EQ(second.State(), TJPEGImage::DecodeState::Decoded);
    ASSERT_TRUE(second.HasBitmap());
    EXPECT_NE(&second.Bitmap(), &decoded);
    EXPECT_TRUE(std::equal(decoded.Pixels().begin(), decoded.Pixels().end(), second.Bitmap().Pixels().begin(),
                           second.Bitmap().Pixels().end()));
    // Three pictures hold the bytes, plus the copy this call returns.
    EXPECT_EQ(original.Data().use_count(), 4);

    // The first copy still decodes on its own.
    expect_quarters(first.Bitmap());
}

TEST_F(JpegTest, ReloadingDropsTheOldBitmapAndLeavesCopiesAlone)
{
    TJPEGImage image = loaded(make_quarters_jpeg({24, 24}));
    image.Bitmap();
    auto copy = image.Clone();
    image.LoadFromBytes(make_quarters_jpeg({48, 16}));
    EXPECT_FALSE(image.HasBitmap());
    EXPECT_EQ(image.Width(), 48);
    EXPECT_EQ(image.Bitmap().Width(), 48);
    EXPECT_EQ(copy->Width(), 24);
}

TEST_F(JpegTest, StreamLoadTakesTheBytesFromThePositionToTheEnd)
{
    const std::vector<uint8_t> jpeg = make_quarters_jpeg({20, 10});
    TMemoryStream stream;
    stream.Write("junk before", 11);
    stream.Write(jpeg.data(), static_cast<int64_t>(jpeg.size()));
    stream.SetPosition(11);
    TJPEGImage image;
    int changes = 0;
    image.OnChange = [&] { ++changes; };
    image.LoadFromStream(stream);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(image.Data()->size(), jpeg.size());
    EXPECT_EQ(stream.Position(), stream.Size());
    EXPECT_EQ(image.Width(), 20);

    // A position past the end reads nothing rather than beyond the buffer.
    stream.SetPosition(stream.Size() + 100);
    image.LoadFromStream(stream);
    EXPECT_EQ(image.Data()->size(), 0u);
}

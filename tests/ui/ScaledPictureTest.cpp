// Picture boxes on a screen of two device pixels per logical pixel: this
// executable starts the window system with QT_SCALE_FACTOR=2.
#include "picture/FitRule.h"
#include "picture/TJPEGImage.h"
#include "tests/ui/UiTestSupport.h"

#include <QBuffer>
#include <QImage>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

// Detail down to single pixels: a blown-up half-size copy cannot match it.
std::vector<uint8_t> detailed_jpeg(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB888);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb((x * 37) % 256, (y * 53) % 256, ((x ^ y) * 29) % 256));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 95);
    return {bytes.begin(), bytes.end()};
}

} // namespace

TEST(ScaledScreen, PictureBoxesFitAndScaleInDevicePixels)
{
    qputenv("QT_SCALE_FACTOR", "2");
    StartWindowSystem();
    struct Case {
        int w, h, cw, ch;
        QRect device_dest; // within the box, in device pixels
    };
    const Case cases[] = {
        {1000, 800, 187, 199, QRect(0, 49, 374, 299)}, // enough pixels: full resolution
        {400, 200, 187, 199, QRect(0, 105, 374, 187)},
        {310, 310, 187, 199, QRect(0, 12, 374, 374)},
        {60, 20, 75, 67, QRect(15, 47, 120, 40)}, // fits: each pixel covers 2 x 2
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << " x " << c.h);
        TForm form;
        form.SetClientSize(220, 230);
        TImage* box = form.Add<TImage>();
        box->SetBounds(10, 10, c.cw, c.ch);
        box->SetCenter(true);
        box->SetProportional(true);
        TJPEGImage jpeg;
        const std::vector<uint8_t> bytes = detailed_jpeg(c.w, c.h);
        jpeg.LoadFromBytes(bytes);
        box->Picture().Assign(&jpeg);
        form.Show();
        const QImage shot = form.Widget()->grab().toImage();
        ASSERT_EQ(shot.width(), 440);
        const TBitmap expected = ScaleNearest(jpeg.Bitmap(), c.device_dest.width(), c.device_dest.height());
        int wrong = 0;
        for (int y = 0; y < expected.Height(); ++y) {
            const uint8_t* row = expected.ScanLine(y);
            for (int x = 0; x < expected.Width(); ++x) {
                const QRgb got = shot.pixel(20 + c.device_dest.x() + x, 20 + c.device_dest.y() + y);
                wrong += got != qRgb(row[3 * x], row[3 * x + 1], row[3 * x + 2]) ? 1 : 0;
            }
        }
        EXPECT_EQ(wrong, 0);
        // Nothing drawn outside the rectangle.
        const QRgb background = shot.pixel(2, 2);
        EXPECT_EQ(shot.pixel(20 + c.device_dest.x() + c.device_dest.width(), 20 + c.device_dest.center().y()),
                  background);
        EXPECT_EQ(shot.pixel(20 + c.device_dest.center().x(), 20 + c.device_dest.y() - 1), background);
    }
}

// A badge drawn smoothly: the same place as whole pixels would take, filtered
// instead of doubled.
TEST(ScaledScreen, SmoothBoxScalesItsBadgeWithFiltering)
{
    qputenv("QT_SCALE_FACTOR", "2");
    StartWindowSystem();
    TForm form;
    form.SetClientSize(100, 90);
    TImage* box = form.Add<TImage>();
    box->SetBounds(10, 10, 75, 67);
    box->SetCenter(true);
    box->SetProportional(true);
    box->SetScaling(TImageScaling::SmoothOnScaledScreens);
    TJPEGImage jpeg;
    const std::vector<uint8_t> bytes = detailed_jpeg(60, 20);
    jpeg.LoadFromBytes(bytes);
    box->Picture().Assign(&jpeg);
    form.Show();
    const QImage shot = form.Widget()->grab().toImage().convertToFormat(QImage::Format_RGB888);
    const TBitmap& bitmap = jpeg.Bitmap();
    const QImage source(bitmap.ScanLine(0), bitmap.Width(), bitmap.Height(), bitmap.BytesPerLine(),
                        QImage::Format_RGB888);
    const QImage smooth = source.scaled(120, 40, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    EXPECT_EQ(shot.copy(20 + 15, 20 + 47, 120, 40), smooth);
}

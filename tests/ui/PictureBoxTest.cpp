#include "picture/TJPEGImage.h"
#include "tests/ui/UiTestSupport.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

namespace {

// A width x height JPEG, left half red and right half blue.
std::vector<uint8_t> two_colour_jpeg(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB888);
    QPainter painter(&image);
    painter.fillRect(0, 0, width / 2, height, Qt::red);
    painter.fillRect(width / 2, 0, width - width / 2, height, Qt::blue);
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 95);
    return {bytes.begin(), bytes.end()};
}

bool near(QColor got, QColor want)
{
    return std::abs(got.red() - want.red()) < 40 && std::abs(got.green() - want.green()) < 40 &&
           std::abs(got.blue() - want.blue()) < 40;
}

class PictureBox : public ::testing::Test {
protected:
    void SetUp() override
    {
        StartWindowSystem();
        form = std::make_unique<TForm>();
        form->SetClientSize(300, 300);
        image = form->Add<TImage>();
        image->SetBounds(10, 10, 187, 199);
        image->SetCenter(true);
        image->SetProportional(true);
        form->Show();
    }

    QImage window_pixels() { return form->Widget()->grab().toImage(); }

    std::unique_ptr<TForm> form;
    TImage* image = nullptr;
};

} // namespace

TEST_F(PictureBox, LargePictureIsScaledDownCentredAndTheBackgroundShowsAround)
{
    TJPEGImage jpeg;
    const std::vector<uint8_t> bytes = two_colour_jpeg(400, 200);
    jpeg.LoadFromBytes(bytes);
    image->Picture().Assign(&jpeg);
    const QImage shot = window_pixels();
    // 400 x 200 fits as 187 x 93 at top 53 of the box.
    const QColor background = shot.pixelColor(5, 5);
    EXPECT_TRUE(near(shot.pixelColor(10 + 20, 10 + 100), Qt::red));
    EXPECT_TRUE(near(shot.pixelColor(10 + 170, 10 + 100), Qt::blue));
    EXPECT_EQ(shot.pixelColor(10 + 93, 10 + 40), background);
    EXPECT_EQ(shot.pixelColor(10 + 93, 10 + 160), background);
    EXPECT_TRUE(near(shot.pixelColor(10 + 93 - 5, 10 + 54), Qt::red));
}

TEST_F(PictureBox, DecodeErrorIsReportedOnceAndLaterPaintsDoNotRetry)
{
    InterceptedBoxes boxes;
    TJPEGImage empty;
    std::vector<uint8_t> none;
    empty.LoadFromBytes(none);
    image->Picture().Assign(&empty);
    window_pixels();
    Application->ProcessMessages();
    window_pixels();
    Application->ProcessMessages();
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "JPEG error #42.");
    EXPECT_EQ(boxes.boxes[0].kind, MessageKind::ErrorReport);
}

#include "picture/TJPEGImage.h"
#include "tests/ui/UiTestSupport.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
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

TEST(ProgressBar, PositionStaysInRangeAndStepsAdd)
{
    StartWindowSystem();
    TForm form;
    TProgressBar* bar = form.Add<TProgressBar>();
    bar->SetStep(1);
    struct Case {
        int set;
        int step_by;
        int expected;
    };
    const Case cases[] = {{0, 4, 4}, {96, 4, 100}, {98, 4, 100}, {-3, 0, 0}, {250, 0, 100}, {50, -60, 0},
                          {0, 2147483647, 100}};
    for (const Case& c : cases) {
        bar->SetPosition(c.set);
        bar->StepBy(c.step_by);
        EXPECT_EQ(bar->Position(), c.expected) << c.set << " + " << c.step_by;
        EXPECT_EQ(static_cast<QProgressBar*>(bar->Widget())->value(), c.expected);
    }
}

TEST(ProgressBar, ShowingProgressTakesNoWaitingInput)
{
    StartWindowSystem();
    TForm form;
    TButton* button = form.Add<TButton>();
    button->SetBounds(0, 0, 40, 20);
    TProgressBar* bar = form.Add<TProgressBar>();
    bar->SetBounds(0, 40, 200, 17);
    form.Show();
    Application->ProcessMessages();
    int clicks = 0;
    button->OnClick = [&](TControl*) { ++clicks; };
    // A click waiting in the queue, as during a blocking download.
    const QPointF at(5, 5);
    QCoreApplication::postEvent(button->Widget(), new QMouseEvent(QEvent::MouseButtonPress, at, button->Widget()->mapToGlobal(at),
                                                                  Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
    QCoreApplication::postEvent(button->Widget(), new QMouseEvent(QEvent::MouseButtonRelease, at, button->Widget()->mapToGlobal(at),
                                                                  Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
    bar->SetVisible(false);
    bar->SetVisible(true);
    bar->SetPosition(4);
    bar->StepBy(4);
    EXPECT_EQ(clicks, 0);
    Application->ProcessMessages();
    EXPECT_EQ(clicks, 1);
}

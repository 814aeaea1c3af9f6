#include "ui/TImage.h"

#include "picture/FitRule.h"
#include "picture/TBitmap.h"
#include "picture/TGraphic.h"
#include "ui/Dispatch.h"

#include <QAccessible>
#include <QImage>
#include <QMetaObject>
#include <QPainter>
#include <QPointer>
#include <QWidget>

#include <cmath>
#include <exception>
#include <vector>

namespace {

// A QImage over the bitmap's rows, without copying them.
QImage image_over(const TBitmap& bitmap)
{
    if (bitmap.Empty())
        return QImage();
    if (bitmap.BitsPerPixel() == 8) {
        QImage image(bitmap.ScanLine(0), bitmap.Width(), bitmap.Height(), bitmap.BytesPerLine(),
                     QImage::Format_Indexed8);
        QList<QRgb> table;
        for (uint32_t entry : bitmap.Palette())
            table.push_back(qRgb((entry >> 16) & 0xFF, (entry >> 8) & 0xFF, entry & 0xFF));
        while (table.size() < 256)
            table.push_back(qRgb(0, 0, 0));
        image.setColorTable(table);
        return image;
    }
    return QImage(bitmap.ScanLine(0), bitmap.Width(), bitmap.Height(), bitmap.BytesPerLine(), QImage::Format_RGB888);
}

} // namespace

class ImageWidget : public QWidget {
public:
    ImageWidget(TImage& image, QWidget* parent) : QWidget(parent), image_(image) {}

protected:
    void paintEvent(QPaintEvent*) override
    {
        TGraphic* graphic = image_.picture_->Graphic();
        if (graphic == nullptr)
            return;
        const TBitmap* bitmap = nullptr;
        try {
            bitmap = &graphic->Bitmap();
        } catch (...) {
            if (image_.failed_graphic_ != graphic) {
                image_.failed_graphic_ = graphic;
                ReportLater(std::current_exception());
            }
            return;
        }
        // Fitted and scaled in device pixels: a picture pixel is one pixel
        // at 96 dots per inch, and on a scaled screen the picture's own pixels
        // fill the device pixels instead of a logical-size copy being blown up.
        const qreal ratio = devicePixelRatioF();
        const auto device = [ratio](int logical) { return static_cast<int>(std::lround(logical * ratio)); };
        const TRect dest = DestinationRect(device(graphic->Width()), device(graphic->Height()), device(width()),
                                           device(height()), image_.stretch_, image_.proportional_, image_.center_);
        const int w = dest.Right - dest.Left;
        const int h = dest.Bottom - dest.Top;
        if (w <= 0 || h <= 0 || bitmap->Empty())
            return;
        QPainter painter(this);
        const QPointF at(dest.Left / ratio, dest.Top / ratio);
        if (image_.scaling_ == TImageScaling::SmoothOnScaledScreens && ratio != 1.0 &&
            (w != bitmap->Width() || h != bitmap->Height())) {
            QImage image = image_over(*bitmap).scaled(w, h, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            image.setDevicePixelRatio(ratio);
            painter.drawImage(at, image);
            return;
        }
        if (w == bitmap->Width() && h == bitmap->Height()) {
            QImage image = image_over(*bitmap);
            image.setDevicePixelRatio(ratio);
            painter.drawImage(at, image);
            return;
        }
        TBitmap scaled;
        try {
            scaled = ScaleNearest(*bitmap, w, h);
        } catch (...) {
            return; // no memory for the scaled copy: leave the box empty
        }
        QImage image = image_over(scaled);
        image.setDevicePixelRatio(ratio);
        painter.drawImage(at, image);
    }

private:
    // A message box must not open inside a paint; the report follows as soon
    // as the paint is over.
    void ReportLater(std::exception_ptr error)
    {
        QMetaObject::invokeMethod(
            this, [error] { Dispatch([error] { std::rethrow_exception(error); }); }, Qt::QueuedConnection);
    }

    TImage& image_;
};

TImage::TImage(TControl* parent) : TControl(parent), picture_(std::make_unique<TPicture>())
{
    Attach(new ImageWidget(*this, parent != nullptr ? parent->Widget() : nullptr));
    picture_->OnChange = [this] { PictureChanged(); };
}

TImage::~TImage()
{
    picture_->OnChange = nullptr;
}

void TImage::SetCenter(bool center)
{
    center_ = center;
    Widget()->update();
}

void TImage::SetProportional(bool proportional)
{
    proportional_ = proportional;
    Widget()->update();
}

void TImage::SetStretch(bool stretch)
{
    stretch_ = stretch;
    Widget()->update();
}

void TImage::SetScaling(TImageScaling scaling)
{
    scaling_ = scaling;
    Widget()->update();
}

void TImage::PictureChanged()
{
    failed_graphic_ = nullptr;
    QWidget* w = Widget();
    if (w == nullptr)
        return;
    w->update();
    // Shown to screen readers, and named, only while it shows a picture.
    if (QAccessible::isActive()) {
        QAccessible::State changed;
        changed.invisible = true;
        QAccessibleStateChangeEvent shown(w, changed);
        QAccessible::updateAccessibility(&shown);
        QAccessibleEvent renamed(w, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&renamed);
    }
}

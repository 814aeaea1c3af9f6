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
        const qreal ratio = devicePixelRatioF();
        const auto device = [ratio](int logical) { return static_cast<int>(std::lround(logical * ratio)); };
        const std::optional<TImage::Frame> frame =
            image_.FrameToPaint(device, device(width()), device(height()), ratio != 1.0);
        if (!frame)
            return;
        const TRect& dest = frame->dest;
        QPainter painter(this);
        const QPointF at(dest.Left / ratio, dest.Top / ratio);
        QImage image;
        switch (frame->scaling) {
        case TImage::FrameScaling::AsIs:
            image = image_over(frame->bitmap);
            break;
        case TImage::FrameScaling::Smooth:
            image = image_over(frame->bitmap)
                        .scaled(dest.Right - dest.Left, dest.Bottom - dest.Top, Qt::IgnoreAspectRatio,
                                Qt::SmoothTransformation);
            break;
        case TImage::FrameScaling::WholePixels:
            try {
                // image_over does not copy: the scaled bitmap must outlive the drawing.
                const TBitmap scaled = ScaleNearest(frame->bitmap, dest.Right - dest.Left, dest.Bottom - dest.Top);
                QImage over = image_over(scaled);
                over.setDevicePixelRatio(ratio);
                painter.drawImage(at, over);
            } catch (...) {
                // No memory for the scaled copy: the box stays empty.
            }
            return;
        }
        image.setDevicePixelRatio(ratio);
        painter.drawImage(at, image);
    }

private:
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

void TImage::RepaintPicture()
{
    if (QWidget* w = Widget())
        w->update();
}

void TImage::AnnouncePicture()
{
    QWidget* w = Widget();
    if (w == nullptr || !QAccessible::isActive())
        return;
    QAccessible::State changed;
    changed.invisible = true;
    QAccessibleStateChangeEvent shown(w, changed);
    QAccessible::updateAccessibility(&shown);
    QAccessibleEvent renamed(w, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&renamed);
}

void TImage::ReportPaintError(std::exception_ptr error)
{
    QMetaObject::invokeMethod(
        Widget(), [error] { Dispatch([error] { std::rethrow_exception(error); }); }, Qt::QueuedConnection);
}

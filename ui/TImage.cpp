#include "ui/TImage.h"

#include "picture/TBitmap.h"
#include "picture/TGraphic.h"

// When a picture box repaints, and what and where it paints, are decided
// here for both backends; each draws the bitmap with its toolkit.

void TImage::SetCenter(bool center)
{
    center_ = center;
    RepaintPicture();
}

void TImage::SetProportional(bool proportional)
{
    proportional_ = proportional;
    RepaintPicture();
}

void TImage::SetStretch(bool stretch)
{
    stretch_ = stretch;
    RepaintPicture();
}

void TImage::SetScaling(TImageScaling scaling)
{
    scaling_ = scaling;
    RepaintPicture();
}

void TImage::PictureChanged()
{
    failed_graphic_ = nullptr;
    RepaintPicture();
    // Shown to screen readers, and named, only while it shows a picture.
    AnnouncePicture();
}

std::optional<TImage::Frame> TImage::FrameToPaint(const std::function<int(int)>& to_device, int box_width,
                                                  int box_height, bool scaled_screen)
{
    TGraphic* graphic = picture_->Graphic();
    if (graphic == nullptr)
        return std::nullopt;
    const TBitmap* bitmap = nullptr;
    try {
        bitmap = &graphic->Bitmap();
    } catch (...) {
        if (failed_graphic_ != graphic) {
            failed_graphic_ = graphic;
            ReportPaintError(std::current_exception());
        }
        return std::nullopt;
    }
    // Fitted and scaled in device pixels: a picture pixel is one pixel at 96
    // dots per inch, and on a scaled screen the picture's own pixels fill the
    // device pixels instead of a small copy blown up.
    const TRect dest = DestinationRect(to_device(graphic->Width()), to_device(graphic->Height()), box_width,
                                       box_height, stretch_, proportional_, center_);
    const int w = dest.Right - dest.Left;
    const int h = dest.Bottom - dest.Top;
    if (w <= 0 || h <= 0 || bitmap->Empty())
        return std::nullopt;
    Frame frame{*bitmap, dest, FrameScaling::AsIs};
    // Small drawn badges are filtered on scaled screens: whole pixels would
    // make their lines uneven.
    if (w != bitmap->Width() || h != bitmap->Height())
        frame.scaling = scaling_ == TImageScaling::SmoothOnScaledScreens && scaled_screen ? FrameScaling::Smooth
                                                                                         : FrameScaling::WholePixels;
    return frame;
}

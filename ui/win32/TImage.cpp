#include "ui/TImage.h"

#include "picture/FitRule.h"
#include "picture/TBitmap.h"
#include "picture/TGraphic.h"
#include "ui/win32/Accessibility.h"
#include "ui/win32/ControlEvents.h"
#include "ui/win32/SmoothScale.h"

#include <cstdint>
#include <exception>
#include <utility>
#include <vector>

namespace {

// Device-independent bits of a bitmap: 32 bits per pixel, rows top down.
void draw_bitmap(HDC dc, const TBitmap& bitmap, int left, int top)
{
    const int w = bitmap.Width();
    const int h = bitmap.Height();
    std::vector<uint32_t> bits(static_cast<size_t>(w) * static_cast<size_t>(h));
    const std::vector<uint32_t>& palette = bitmap.Palette();
    for (int y = 0; y < h; ++y) {
        const uint8_t* row = bitmap.ScanLine(y);
        uint32_t* out = bits.data() + static_cast<size_t>(y) * static_cast<size_t>(w);
        if (bitmap.BitsPerPixel() == 8) {
            for (int x = 0; x < w; ++x)
                out[x] = row[x] < palette.size() ? palette[row[x]] & 0xFFFFFF : 0;
        } else {
            for (int x = 0; x < w; ++x)
                out[x] = uint32_t{row[3 * x]} << 16 | uint32_t{row[3 * x + 1]} << 8 | row[3 * x + 2];
        }
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    SetDIBitsToDevice(dc, left, top, static_cast<DWORD>(w), static_cast<DWORD>(h), 0, 0, 0,
                      static_cast<UINT>(h), bits.data(), &info, DIB_RGB_COLORS);
}

} // namespace

class ImageWidget {
public:
    static void Paint(TImage& image, HWND hwnd, HDC dc)
    {
        RECT client;
        GetClientRect(hwnd, &client);
        // Not opaque: where the picture does not cover it the parent shows.
        FillRect(dc, &client, ControlEvents::Background(image));
        const UINT dpi = ControlEvents::Dpi(image);
        const auto device = [dpi](int logical) { return Scale(logical, dpi); };
        const std::optional<TImage::Frame> frame =
            image.FrameToPaint(device, client.right, client.bottom, dpi != USER_DEFAULT_SCREEN_DPI);
        if (!frame)
            return;
        const TRect& dest = frame->dest;
        const int w = dest.Right - dest.Left;
        const int h = dest.Bottom - dest.Top;
        try {
            switch (frame->scaling) {
            case TImage::FrameScaling::AsIs:
                draw_bitmap(dc, frame->bitmap, dest.Left, dest.Top);
                break;
            case TImage::FrameScaling::WholePixels:
                draw_bitmap(dc, ScaleNearest(frame->bitmap, w, h), dest.Left, dest.Top);
                break;
            case TImage::FrameScaling::Smooth:
                draw_bitmap(dc, ScaleSmooth(frame->bitmap, w, h), dest.Left, dest.Top);
                break;
            }
        } catch (...) {
            // No memory for the scaled copy: the box stays empty.
        }
    }
};

namespace {

void paint(TImage& image, HWND hwnd)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    ImageWidget::Paint(image, hwnd, dc);
    EndPaint(hwnd, &ps);
}

LRESULT CALLBACK image_procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) noexcept
{
    try {
        TControl* control = ControlEvents::Attached(hwnd, message, lparam);
        if (control == nullptr)
            return DefWindowProcW(hwnd, message, wparam, lparam);
        auto& image = static_cast<TImage&>(*control);
        switch (message) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            paint(image, hwnd);
            return 0;
        default:
            break;
        }
        if (std::optional<LRESULT> result = ControlEvents::Common(image, hwnd, message, wparam, lparam))
            return *result;
    } catch (...) {
        // Nothing is thrown into the window system.
    }
    return DefWindowProcW(hwnd, message, wparam, lparam);
}

} // namespace

TImage::TImage(TControl* parent) : TControl(parent), picture_(std::make_unique<TPicture>())
{
    RegisterWindowClass(kImageClass, image_procedure);
    ControlEvents::Of(*this).clicks_from_mouse = true;
    Attach(ControlEvents::Create(*this, kImageClass, 0, 0, WindowKind::Own));
    picture_->OnChange = [this] { PictureChanged(); };
    RefreshAccessibleName(*this);
}

TImage::~TImage()
{
    picture_->OnChange = nullptr;
}

void TImage::RepaintPicture()
{
    if (HWND hwnd = Widget())
        InvalidateRect(hwnd, nullptr, FALSE);
}

void TImage::AnnouncePicture()
{
    RefreshAccessibleName(*this);
}

void TImage::ReportPaintError(std::exception_ptr error)
{
    ControlEvents::Of(*this).paint_error = std::move(error);
    PostMessageW(Widget(), kReportPaintError, 0, 0);
}

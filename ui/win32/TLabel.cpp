#include "ui/TLabel.h"

#include "ui/win32/Accessibility.h"
#include "ui/win32/ControlEvents.h"

#include <algorithm>

namespace {

// A static text control, so screen readers read it: one line, no "&"
// mnemonics, and told of presses (SS_NOTIFY) so it can be clicked.
constexpr DWORD kLabelStyle = SS_LEFTNOWORDWRAP | SS_NOPREFIX | SS_NOTIFY;

// The text's extent in the font: no width for no text, the font's height at
// least. Chinese glyphs come from linked fonts and are measured with them.
SIZE measure(const FontHandle& font, const std::wstring& text)
{
    HDC dc = MeasuringDC();
    HGDIOBJ old = SelectObject(dc, font.get());
    SIZE extent{0, 0};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    return {text.empty() ? 0 : extent.cx, std::max<LONG>(extent.cy, metrics.tmHeight)};
}

} // namespace

TLabel::TLabel(TControl* parent) : TControl(parent)
{
    ControlWindow& impl = ControlEvents::Of(*this);
    impl.clicks_from_mouse = true;
    // Made at the height of its font with no text, where fitting would
    // move it next.
    const UINT dpi = ControlEvents::Dpi(*this);
    impl.measured_font = ControlFont(Font(), dpi);
    impl.measured_extent = measure(impl.measured_font, impl.measured_text);
    impl.height = Unscale(impl.measured_extent.cy, dpi);
    Attach(ControlEvents::Create(*this, L"STATIC", kLabelStyle, 0, WindowKind::System,
                                 {0, 0, 0, Scale(impl.height, dpi)}));
    Fit();
}

// The name a screen reader reads is the window's: it is given again.
void TLabel::UnitChanged()
{
    RefreshAccessibleName(*this);
}

void TLabel::ShowCaption()
{
    // The new text is announced to screen readers as the label's new name.
    // Given by the default procedure: the static control's own paints the
    // old extent at once, and the label is then fitted and painted again.
    const std::wstring text = ToWide(caption_);
    DefWindowProcW(Widget(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void TLabel::AnnounceCaption(const std::string&)
{
    if (unit_label_ != nullptr)
        RefreshAccessibleName(*this);
    if (unit_of_ != nullptr)
        RefreshAccessibleName(*unit_of_);
}

void TLabel::SetBounds(int left, int top, int width, int height)
{
    ControlWindow& impl = ControlEvents::Of(*this);
    if (auto_size_ && Widget() != nullptr && impl.font) {
        // Placed once, at the size of its text.
        impl.left = left;
        impl.top = top;
        impl.width = std::max(width, 0);
        impl.height = std::max(height, 0);
        Fit();
        return;
    }
    TControl::SetBounds(left, top, width, height);
    Fit();
}

void TLabel::FitToCaption()
{
    HWND hwnd = Widget();
    ControlWindow& impl = ControlEvents::Of(*this);
    if (hwnd == nullptr || !impl.font)
        return;
    // Measured in the label's own font at the window's dpi, the same text
    // in the same font once.
    std::wstring text = ToWide(caption_);
    if (impl.measured_font != impl.font || impl.measured_text != text) {
        impl.measured_extent = measure(impl.font, text);
        impl.measured_text = std::move(text);
        impl.measured_font = impl.font;
    }
    const UINT dpi = ControlEvents::Dpi(*this);
    const SIZE size = impl.measured_extent;
    impl.width = Unscale(size.cx, dpi);
    impl.height = Unscale(size.cy, dpi);
    const int left = Scale(impl.left, dpi);
    const int top = Scale(impl.top, dpi);
    ControlEvents::MoveTo(*this, {left, top, left + size.cx, top + size.cy});
}

#include "ui/win32/Win32Bridge.h"

#include "platform/CodePage.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <mutex>
#include <string>

std::wstring ToWide(const std::string& gbk)
{
    const std::u16string wide = AnsiToWide(gbk);
    return std::wstring(wide.begin(), wide.end());
}

std::string FromWide(const std::wstring& wide)
{
    return WideToAnsi(std::u16string(wide.begin(), wide.end()));
}

COLORREF ToColorRef(TColor color)
{
    switch (color) {
    case Colors::ButtonFace:
    case Colors::WindowBackground:
        return RGB(239, 239, 239);
    case Colors::WindowText:
        return RGB(0, 0, 0);
    default:
        // TColor keeps the bytes in COLORREF order.
        return Colors::IsSystem(color) ? RGB(239, 239, 239) : static_cast<COLORREF>(color & 0xFFFFFF);
    }
}

int Scale(int logical, UINT dpi)
{
    return MulDiv(logical, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI);
}

int Unscale(int device, UINT dpi)
{
    return dpi == 0 ? device : MulDiv(device, USER_DEFAULT_SCREEN_DPI, static_cast<int>(dpi));
}

namespace {

LOGFONTW logical_font(const TFont& font, UINT dpi)
{
    LOGFONTW lf{};
    // A negative height asks for the character height, not the cell's.
    lf.lfHeight = -std::max(1, Scale(font.Height, dpi));
    // "System" is the old fixed bold face, which does not scale and has no
    // Chinese; its nearest scalable kin is the window's own face in bold.
    const bool system_face = font.Name == "System";
    lf.lfWeight = font.Bold || system_face ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = font.Italic;
    lf.lfUnderline = font.Underline;
    lf.lfStrikeOut = font.StrikeOut;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfOutPrecision = OUT_TT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    // Grey-scale smoothing, as the window is drawn on other desktops.
    lf.lfQuality = ANTIALIASED_QUALITY;
    const std::wstring face = system_face ? L"Tahoma" : ToWide(font.Name);
    lf.lfPitchAndFamily = VARIABLE_PITCH | (face == L"Times New Roman" ? FF_ROMAN : FF_SWISS);
    face.copy(lf.lfFaceName, LF_FACESIZE - 1);
    return lf;
}

} // namespace

HDC MeasuringDC()
{
    struct Kept {
        HDC dc = CreateCompatibleDC(nullptr);
        ~Kept() { DeleteDC(dc); }
        Kept() = default;
        Kept(const Kept&) = delete;
        Kept& operator=(const Kept&) = delete;
    };
    thread_local Kept kept;
    return kept.dc;
}

FontHandle ControlFont(const TFont& font, UINT dpi)
{
    static std::mutex guard;
    static std::map<std::string, std::weak_ptr<std::remove_pointer_t<HFONT>>> made;
    const LOGFONTW lf = logical_font(font, dpi);
    // The whole description is the key: value-initialised, so no stray bytes.
    std::string key(sizeof lf, '\0');
    std::memcpy(key.data(), &lf, sizeof lf);
    const std::lock_guard<std::mutex> lock(guard);
    if (FontHandle kept = made[key].lock())
        return kept;
    std::erase_if(made, [](const auto& entry) { return entry.second.expired(); });
    FontHandle created(CreateFontIndirectW(&lf), GdiObjectDeleter{});
    made[key] = created;
    return created;
}

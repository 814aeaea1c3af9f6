#include "ui/win32/Win32Bridge.h"

#include "platform/CodePage.h"

#include <algorithm>
#include <cstdint>

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

FontHandle CreateControlFont(const TFont& font, UINT dpi)
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
    return FontHandle(CreateFontIndirectW(&lf));
}

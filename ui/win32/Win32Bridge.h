#pragma once

// Private to ui/win32/: conversions between the controls' values and what
// the Win32 functions take, and owning handles for GDI objects.

#include "ui/TColor.h"
#include "ui/TFont.h"

#include <windows.h>

#include <memory>
#include <string>
#include <type_traits>

struct GdiObjectDeleter {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
// Fonts are shared: every control drawn in the same font holds the same one.
using FontHandle = std::shared_ptr<std::remove_pointer_t<HFONT>>;
using BrushHandle = std::unique_ptr<std::remove_pointer_t<HBRUSH>, GdiObjectDeleter>;
using BitmapHandle = std::unique_ptr<std::remove_pointer_t<HBITMAP>, GdiObjectDeleter>;

// GBK bytes to the wide text Windows takes, and back.
std::wstring ToWide(const std::string& gbk);
std::string FromWide(const std::wstring& wide);

// The colour drawn for a control colour. The system's named colours are the
// designed light look's fixed values, whatever the desktop theme says.
COLORREF ToColorRef(TColor color);
inline constexpr COLORREF kHighlight = RGB(48, 140, 198);
inline constexpr COLORREF kHighlightedText = RGB(255, 255, 255);
inline constexpr COLORREF kBase = RGB(255, 255, 255);
inline constexpr COLORREF kGridLine = RGB(192, 192, 192);
inline constexpr COLORREF kDisabledText = RGB(190, 190, 190);

// Sizes are given at 96 dots per inch; windows take device pixels.
int Scale(int logical, UINT dpi);
int Unscale(int device, UINT dpi);

// The font drawn for a control font at dpi. A face the system lacks is
// replaced by the nearest of the same kind; Chinese glyphs come from the
// system's font linking. Made once while any control holds it: the system
// sets a font up (and finds its linked faces) once per font, not per control.
FontHandle ControlFont(const TFont& font, UINT dpi);

// A device context of the screen's kind for measuring text, kept for the
// calling thread: a window's own is asked for and given back each time.
HDC MeasuringDC();

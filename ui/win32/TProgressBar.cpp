#include "ui/TProgressBar.h"

#include "ui/win32/ControlEvents.h"
#include "ui/win32/SystemLibrary.h"

#include <algorithm>
#include <cstdint>

TProgressBar::TProgressBar(TControl* parent) : TControl(parent)
{
    HWND bar = ControlEvents::Create(*this, PROGRESS_CLASSW, PBS_SMOOTH, 0, WindowKind::System);
    // Unthemed, so the bar has the designed colours and moves at once
    // instead of gliding after the position.
    RemoveVisualStyle(bar);
    SendMessageW(bar, PBM_SETBARCOLOR, 0, static_cast<LPARAM>(kHighlight));
    SendMessageW(bar, PBM_SETBKCOLOR, 0, static_cast<LPARAM>(kBase));
    SendMessageW(bar, PBM_SETRANGE32, MinPosition, MaxPosition);
    SendMessageW(bar, PBM_SETPOS, MinPosition, 0);
    Attach(bar);
}

void TProgressBar::SetPosition(int position)
{
    position_ = std::clamp(position, MinPosition, MaxPosition);
    SendMessageW(Widget(), PBM_SETPOS, static_cast<WPARAM>(position_), 0);
    PaintNow();
}

void TProgressBar::StepBy(int delta)
{
    const int64_t next = int64_t{position_} + delta;
    SetPosition(static_cast<int>(std::clamp<int64_t>(next, MinPosition, MaxPosition)));
}

void TProgressBar::SetVisible(bool visible)
{
    TControl::SetVisible(visible);
    PaintNow();
}

void TProgressBar::PaintNow()
{
    // The bar's own paint only: UpdateWindow paints this window without
    // running the message loop, so no input is taken and nothing else of the
    // window changes on the screen; what a hidden bar uncovers is painted
    // with everything else when the loop runs again.
    HWND bar = Widget();
    if (bar != nullptr && IsWindowVisible(bar))
        UpdateWindow(bar);
}

#include "ui/TProgressBar.h"

#include "ui/win32/ControlEvents.h"
#include "ui/win32/SystemLibrary.h"

#include <memory>
#include <optional>

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
    auto posted = std::make_shared<bool>(false);
    ControlEvents::Of(*this).state = posted;
    ControlEvents::Of(*this).own = [this, posted](UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message != kShowPosition)
            return std::nullopt;
        *posted = false;
        SendMessageW(Widget(), PBM_SETPOS, static_cast<WPARAM>(position_), 0);
        return 0;
    };
    Attach(bar);
}

void TProgressBar::ShowPosition()
{
    // Handed to the control when the bar is next painted: a new position
    // costs the system's progress control a paint of its own (under Wine a
    // millisecond, for a picture that took half of one to fetch). The loop's
    // next turn hands over what the last paint left.
    auto& posted = *std::static_pointer_cast<bool>(ControlEvents::Of(*this).state);
    if (!posted && PostMessageW(Widget(), kShowPosition, 0, 0))
        posted = true;
}

void TProgressBar::PaintBar()
{
    // The bar's own paint only: UpdateWindow paints this window without
    // running the message loop, so no input is taken and nothing else of the
    // window changes on the screen; what a hidden bar uncovers is painted
    // with everything else when the loop runs again.
    HWND bar = Widget();
    if (bar == nullptr)
        return;
    if (SendMessageW(bar, PBM_GETPOS, 0, 0) != position_)
        SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(position_), 0);
    if (IsWindowVisible(bar))
        UpdateWindow(bar);
}

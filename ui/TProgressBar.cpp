#include "ui/TProgressBar.h"

#include <algorithm>
#include <cstdint>

// The bar's rules are kept here for both backends; each hands the position
// to its toolkit's bar and paints it.

void TProgressBar::SetPosition(int position)
{
    position_ = std::clamp(position, MinPosition, MaxPosition);
    ShowPosition();
    if (std::chrono::steady_clock::now() - painted_at_ >= PaintInterval)
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
    // The first move after it is painted at once too: it shows the run has begun.
    painted_at_ = {};
}

void TProgressBar::PaintNow()
{
    painted_at_ = std::chrono::steady_clock::now();
    PaintBar();
}

#pragma once

#include "ui/TControl.h"

#include <chrono>

// A smooth progress bar over 0..100. The bar being shown, and a change of
// position, are painted at once without running the message loop, so
// progress shows while the thread is blocked in a download and no input is
// taken meanwhile; nothing else of the window is painted by it. Positions
// come faster than a screen shows them (a picture from a near service takes
// half a millisecond): after the first move, a change is painted at most
// once a frame.
class TProgressBar : public TControl {
public:
    static constexpr int MinPosition = 0;
    static constexpr int MaxPosition = 100;

    explicit TProgressBar(TControl* parent);

    int Position() const { return position_; }
    // Clamped to the range.
    void SetPosition(int position);
    int Step() const { return step_; }
    void SetStep(int step) { step_ = step; }
    void StepBy(int delta);
    void StepIt() { StepBy(step_); }

    void SetVisible(bool visible) override;

    // The shortest time between two paints of a moving bar.
    static constexpr std::chrono::milliseconds PaintInterval{16};

private:
    // Each backend: the position handed to the toolkit's bar, not painted yet.
    void ShowPosition();
    // Each backend: the bar painted now, alone; nothing while it is hidden.
    void PaintBar();
    void PaintNow();

    int position_ = MinPosition;
    int step_ = 10;
    std::chrono::steady_clock::time_point painted_at_{};
};

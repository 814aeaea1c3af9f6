#pragma once

#include "ui/TControl.h"

// A smooth progress bar over 0..100. A change of position, or the bar being
// shown, is painted at once without running the message loop, so progress
// shows while the thread is blocked in a download and no input is taken
// meanwhile; nothing else of the window is painted by it.
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

private:
    void PaintNow();

    int position_ = MinPosition;
    int step_ = 10;
};

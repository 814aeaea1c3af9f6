#include "ui/TProgressBar.h"

#include <QProgressBar>

#include <algorithm>
#include <cstdint>

TProgressBar::TProgressBar(TControl* parent) : TControl(parent)
{
    auto* bar = new QProgressBar(parent != nullptr ? parent->Widget() : nullptr);
    bar->setRange(MinPosition, MaxPosition);
    bar->setValue(MinPosition);
    bar->setTextVisible(false);
    bar->setFocusPolicy(Qt::NoFocus);
    Attach(bar);
}

void TProgressBar::SetPosition(int position)
{
    position_ = std::clamp(position, MinPosition, MaxPosition);
    static_cast<QProgressBar*>(Widget())->setValue(position_);
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
    // repaint() draws synchronously; the parent is repainted too when the bar
    // was hidden, so the area it uncovers is not left stale.
    QWidget* bar = Widget();
    if (bar->isVisible())
        bar->repaint();
    else if (QWidget* parent = bar->parentWidget(); parent != nullptr && parent->isVisible())
        parent->repaint(bar->geometry());
}

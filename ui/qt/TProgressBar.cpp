#include "ui/TProgressBar.h"

#include <QBackingStore>
#include <QPainter>
#include <QProgressBar>
#include <QRegion>

TProgressBar::TProgressBar(TControl* parent) : TControl(parent)
{
    auto* bar = new QProgressBar(parent != nullptr ? parent->Widget() : nullptr);
    bar->setRange(MinPosition, MaxPosition);
    bar->setValue(MinPosition);
    bar->setTextVisible(false);
    bar->setFocusPolicy(Qt::NoFocus);
    Attach(bar);
}

void TProgressBar::ShowPosition()
{
    // QProgressBar repaints itself at once on a new value, which flushes the
    // whole window; PaintBar paints the bar alone instead.
    auto* bar = static_cast<QProgressBar*>(Widget());
    bar->setUpdatesEnabled(false);
    bar->setValue(position_);
    bar->setUpdatesEnabled(true);
}

void TProgressBar::PaintBar()
{
    // Only the bar's own pixels go to the screen now. repaint() would flush
    // every change still pending in the window, so the grid, the counter and
    // the labels would show half of a page that is still being filled. The
    // bar is painted straight into the window's backing store instead; the
    // pending changes, and the area a hidden bar uncovers, are painted
    // together when the message loop runs again.
    QWidget* bar = Widget();
    if (!bar->isVisible())
        return;
    QWidget* window = bar->window();
    QBackingStore* store = window->backingStore();
    if (store == nullptr || store->paintDevice() == nullptr)
        return;
    const QRect area(bar->mapTo(window, QPoint(0, 0)), bar->size());
    const QRegion region(area);
    store->beginPaint(region);
    {
        QPainter painter(store->paintDevice());
        painter.setClipRect(area);
        bar->render(&painter, area.topLeft(), QRegion(), QWidget::DrawChildren);
    }
    store->endPaint();
    store->flush(region);
}
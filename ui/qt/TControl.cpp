#include "ui/TControl.h"

#include "ui/Dispatch.h"
#include "ui/qt/QtBridge.h"

#include "ui/TLabel.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QObject>
#include <QPointer>
#include <QWidget>

// Turns the widget's enter, leave and press-release pairs into the control's
// notifications.
class ControlEvents : public QObject {
public:
    explicit ControlEvents(TControl& control) : control_(control) {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::Enter:
            Fire(control_.OnMouseEnter);
            break;
        case QEvent::Leave:
            Fire(control_.OnMouseLeave);
            break;
        case QEvent::MouseButtonPress:
            if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
                pressed_ = true;
            break;
        case QEvent::MouseButtonRelease: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            const bool was_pressed = pressed_;
            pressed_ = false;
            // Buttons report their own clicks (keyboard included).
            auto* widget = qobject_cast<QWidget*>(watched);
            if (was_pressed && mouse->button() == Qt::LeftButton && widget != nullptr &&
                qobject_cast<QAbstractButton*>(widget) == nullptr &&
                widget->rect().contains(mouse->position().toPoint()))
                control_.Click();
            break;
        }
        default:
            break;
        }
        return false;
    }

private:
    void Fire(const TNotifyEvent& handler)
    {
        // A copy, so a handler may rebind its own event while it runs.
        if (TNotifyEvent run = handler)
            Dispatch([&] { run(&control_); });
    }

    TControl& control_;
    bool pressed_ = false;
};

struct TControl::Impl {
    QPointer<QWidget> widget;
    std::unique_ptr<ControlEvents> events;
};

TControl::TControl(TControl* parent) : parent_(parent), impl_(std::make_unique<Impl>())
{
    if (parent_ != nullptr)
        font_ = parent_->font_;
}

TControl::~TControl()
{
    SetCaptionLabel(nullptr);
    if (impl_->widget) {
        SetControlOf(*impl_->widget, nullptr);
        impl_->widget->removeEventFilter(impl_->events.get());
        delete impl_->widget.data();
    }
}

QWidget* TControl::Widget() const
{
    return impl_->widget.data();
}

void TControl::Attach(QWidget* widget)
{
    impl_->widget = widget;
    SetControlOf(*widget, this);
    impl_->events = std::make_unique<ControlEvents>(*this);
    widget->installEventFilter(impl_->events.get());
    ApplyFont();
    if (parent_ != nullptr)
        widget->setVisible(visible_);
}

int TControl::Left() const { return Widget() ? Widget()->x() : 0; }
int TControl::Top() const { return Widget() ? Widget()->y() : 0; }
int TControl::Width() const { return Widget() ? Widget()->width() : 0; }
int TControl::Height() const { return Widget() ? Widget()->height() : 0; }

void TControl::SetBounds(int left, int top, int width, int height)
{
    if (QWidget* w = Widget())
        w->setGeometry(left, top, width < 0 ? 0 : width, height < 0 ? 0 : height);
}

void TControl::SetVisible(bool visible)
{
    visible_ = visible;
    if (QWidget* w = Widget())
        w->setVisible(visible);
}

void TControl::SetEnabled(bool enabled)
{
    enabled_ = enabled;
    if (QWidget* w = Widget())
        w->setEnabled(enabled);
}

void TControl::ApplyFont()
{
    QWidget* w = Widget();
    if (w == nullptr)
        return;
    w->setFont(ToQFont(font_));
    // The disabled group keeps the palette's disabled text colour, so a
    // disabled control looks disabled.
    QPalette palette = w->palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
        for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
            palette.setColor(group, role, ToQColor(font_.Color));
    w->setPalette(palette);
}

void TControl::Repaint()
{
    if (QWidget* w = Widget())
        w->update();
}

void TControl::ApplyCursor()
{
    if (QWidget* w = Widget()) {
        if (cursor_ == TCursor::HandPoint)
            w->setCursor(Qt::PointingHandCursor);
        else
            w->unsetCursor();
    }
}

void TControl::ApplyHint()
{
    if (QWidget* w = Widget())
        w->setAccessibleDescription(ToQt(hint_));
}

void TControl::ApplyCaptionLabel()
{
    // Qt's own accessibles (the drop-down lists) find their label as a buddy.
    if (caption_label_ == nullptr)
        return;
    if (auto* label = qobject_cast<QLabel*>(caption_label_->Widget()))
        label->setBuddy(Widget());
}

void TControl::AnnounceName()
{
    if (QWidget* w = Widget(); w != nullptr && QAccessible::isActive()) {
        QAccessibleEvent event(w, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
}

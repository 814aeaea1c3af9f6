#include "ui/TControl.h"

#include "ui/win32/Accessibility.h"
#include "ui/win32/ControlEvents.h"

#include <algorithm>

namespace {

// Marks for painting what a hidden child window uncovered: the parent's
// part and each sibling's, a sibling's frame only where the area reaches
// it. Marked through the parent with all its children, every sibling under
// it would paint its frame too under Wine (a list view's with its scroll
// bar, 5 ms).
void invalidate_uncovered(HWND hidden)
{
    HWND parent = GetParent(hidden);
    RECT uncovered;
    GetWindowRect(hidden, &uncovered);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&uncovered), 2);
    RedrawWindow(parent, &uncovered, nullptr, RDW_INVALIDATE | RDW_ERASE);
    for (HWND sibling = GetWindow(parent, GW_CHILD); sibling != nullptr; sibling = GetWindow(sibling, GW_HWNDNEXT)) {
        RECT window;
        RECT part;
        GetWindowRect(sibling, &window);
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&window), 2);
        if (sibling == hidden || !IsWindowVisible(sibling) || !IntersectRect(&part, &window, &uncovered))
            continue;
        RECT client;
        RECT inside;
        GetClientRect(sibling, &client);
        MapWindowPoints(sibling, parent, reinterpret_cast<POINT*>(&client), 2);
        if (IntersectRect(&inside, &part, &client) && EqualRect(&inside, &part)) {
            MapWindowPoints(parent, sibling, reinterpret_cast<POINT*>(&part), 2);
            RedrawWindow(sibling, &part, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        } else {
            RedrawWindow(sibling, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
        }
    }
}

} // namespace

TControl::TControl(TControl* parent) : parent_(parent), impl_(std::make_unique<Impl>())
{
    if (parent_ != nullptr)
        font_ = parent_->font_;
}

TControl::~TControl()
{
    SetCaptionLabel(nullptr);
    // The subclass's members are gone already: its hooks must not run.
    impl_->own = nullptr;
    impl_->reflected = nullptr;
    impl_->relayout = nullptr;
    if (impl_->hwnd != nullptr)
        DestroyWindow(impl_->hwnd);
}

NativeControl TControl::Widget() const
{
    return impl_->hwnd;
}

void TControl::Attach(NativeControl widget)
{
    impl_->hwnd = widget;
    ControlEvents::ApplyFont(*this);
    ControlEvents::Place(*this);
    if (parent_ != nullptr)
        ShowWindow(widget, visible_ ? SW_SHOWNA : SW_HIDE);
}

int TControl::Left() const { return impl_->left; }
int TControl::Top() const { return impl_->top; }
int TControl::Width() const { return impl_->width; }
int TControl::Height() const { return impl_->height; }

void TControl::SetBounds(int left, int top, int width, int height)
{
    impl_->left = left;
    impl_->top = top;
    impl_->width = std::max(width, 0);
    impl_->height = std::max(height, 0);
    ControlEvents::Place(*this);
    if (const std::function<void()> relayout = impl_->relayout)
        relayout();
}

void TControl::SetVisible(bool visible)
{
    const bool changed = visible != visible_;
    visible_ = visible;
    if (impl_->hwnd == nullptr)
        return;
    if (visible || parent_ == nullptr || !IsWindowVisible(impl_->hwnd)) {
        ShowWindow(impl_->hwnd, visible ? (parent_ != nullptr ? SW_SHOWNA : SW_SHOW) : SW_HIDE);
    } else {
        // What a hidden control uncovers is erased and painted when the loop
        // next runs, with the rest of what the handler changed: erased at
        // once, it costs Wine a paint of everything below (5 ms for the
        // progress bar), and the parent's erase of all that is pending.
        SetWindowPos(impl_->hwnd, nullptr, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW | SWP_DEFERERASE);
        invalidate_uncovered(impl_->hwnd);
    }
    if (changed)
        ControlEvents::ChildMoved(*this);
}

void TControl::SetEnabled(bool enabled)
{
    enabled_ = enabled;
    if (impl_->hwnd != nullptr)
        EnableWindow(impl_->hwnd, enabled);
}

void TControl::ApplyFont()
{
    ControlEvents::ApplyFont(*this);
    Repaint();
}

void TControl::Repaint()
{
    if (impl_->hwnd != nullptr)
        InvalidateRect(impl_->hwnd, nullptr, TRUE);
}

// The cursor is read whenever the window asks for it (WM_SETCURSOR).
void TControl::ApplyCursor() {}

void TControl::ApplyHint()
{
    // Read as the control's description.
    AnnotateDescription(impl_->hwnd, ToWide(hint_));
}

void TControl::ApplyCaptionLabel()
{
    RefreshAccessibleName(*this);
}

void TControl::AnnounceName()
{
    RefreshAccessibleName(*this);
}

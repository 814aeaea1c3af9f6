#include "ui/TControl.h"

#include "ui/Dispatch.h"
#include "ui/TLabel.h"

#include <algorithm>
#include <utility>

// What a control keeps, and its links to the label naming it, are kept here
// for both backends; each hands a change to its toolkit.

void TControl::SetLeft(int left) { SetBounds(left, Top(), Width(), Height()); }
void TControl::SetTop(int top) { SetBounds(Left(), top, Width(), Height()); }
void TControl::SetWidth(int width) { SetBounds(Left(), Top(), width, Height()); }
void TControl::SetHeight(int height) { SetBounds(Left(), Top(), Width(), height); }

void TControl::SetFont(const TFont& font)
{
    font_ = font;
    ApplyFont();
    FontChanged();
}

TColor TControl::Color() const
{
    if (parent_color_ && parent_ != nullptr)
        return parent_->Color();
    return color_;
}

void TControl::SetColor(TColor color)
{
    color_ = color;
    parent_color_ = false;
    Repaint();
    FontChanged();
}

void TControl::SetCursor(TCursor cursor)
{
    cursor_ = cursor;
    ApplyCursor();
}

void TControl::Click()
{
    if (TNotifyEvent run = OnClick)
        Dispatch([&] { run(this); });
}

void TControl::SetHint(std::string hint)
{
    hint_ = std::move(hint);
    ApplyHint();
}

void TControl::SetCaptionLabel(TLabel* caption)
{
    if (caption_label_ != nullptr)
        std::erase(caption_label_->named_controls_, this);
    caption_label_ = caption;
    if (caption != nullptr)
        caption->named_controls_.push_back(this);
    ApplyCaptionLabel();
}

void TControl::SetAccessibleName(std::string name)
{
    if (name == accessible_name_)
        return;
    accessible_name_ = std::move(name);
    AnnounceName();
}

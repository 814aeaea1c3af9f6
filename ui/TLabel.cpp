#include "ui/TLabel.h"

#include <utility>
#include <vector>

// A label's rules (when it fits its caption, its links to what it names and
// to its unit) are kept here for both backends; each measures and shows the
// text with its toolkit, and says in UnitChanged what a new unit means to it.

TLabel::~TLabel()
{
    for (TControl* named : std::vector<TControl*>(named_controls_))
        named->SetCaptionLabel(nullptr);
    SetUnitLabel(nullptr);
    if (unit_of_ != nullptr)
        unit_of_->unit_label_ = nullptr;
}

void TLabel::SetUnitLabel(TLabel* unit)
{
    if (unit_label_ != nullptr)
        unit_label_->unit_of_ = nullptr;
    unit_label_ = unit;
    if (unit != nullptr)
        unit->unit_of_ = this;
    UnitChanged();
}

void TLabel::SetCaption(const std::string& caption)
{
    // The same text again changes nothing: no fit, no paint, nothing to
    // announce (the count, the brand and the trend arrow of most products).
    if (caption == caption_)
        return;
    const std::string old_caption = std::exchange(caption_, caption);
    ShowCaption();
    Fit();
    Repaint();
    AnnounceCaption(old_caption);
}

void TLabel::SetAutoSize(bool auto_size)
{
    auto_size_ = auto_size;
    Fit();
}

void TLabel::FontChanged()
{
    Fit();
    Repaint();
}

void TLabel::Fit()
{
    if (auto_size_)
        FitToCaption();
}

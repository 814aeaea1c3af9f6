#include "ui/TLabel.h"

#include <vector>

// The links between labels and what they name are kept here for both
// backends; each says in UnitChanged what a new unit means to it.

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

#pragma once

#include "ui/TControl.h"

#include <string>
#include <vector>

// A one-line text label. It is opaque (filled with its colour, or its
// parent's) and sizes itself to its caption the moment the caption or the
// font changes, keeping its left edge, so Width() is current at once.
class TLabel : public TControl {
public:
    explicit TLabel(TControl* parent);
    ~TLabel() override;

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);

    void SetBounds(int left, int top, int width, int height) override;

    bool AutoSize() const { return auto_size_; }
    void SetAutoSize(bool auto_size);

    // A label showing the unit of this label's value ("元"), read with it.
    TLabel* UnitLabel() const { return unit_label_; }
    void SetUnitLabel(TLabel* unit);

    // The controls this label is the caption of (TControl::SetCaptionLabel).
    const std::vector<TControl*>& NamedControls() const { return named_controls_; }

protected:
    void FontChanged() override;

private:
    friend class TControl;
    void Fit();
    // Each backend: the caption handed to the toolkit.
    void ShowCaption();
    // Each backend: screen readers told of the new caption.
    void AnnounceCaption(const std::string& old_caption);
    // Each backend: the label sized to its caption in its font, keeping its place.
    void FitToCaption();
    // After the unit label changed: the backend's own consequences.
    void UnitChanged();

    std::string caption_;
    bool auto_size_ = true;
    TLabel* unit_label_ = nullptr;
    TLabel* unit_of_ = nullptr;
    std::vector<TControl*> named_controls_;
};

#pragma once

#include "ui/TControl.h"

#include <string>

// A one-line text label. It is opaque (filled with its colour, or its
// parent's) and sizes itself to its caption the moment the caption or the
// font changes, keeping its left edge, so Width() is current at once.
class TLabel : public TControl {
public:
    explicit TLabel(TControl* parent);

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);

    void SetBounds(int left, int top, int width, int height) override;

    bool AutoSize() const { return auto_size_; }
    void SetAutoSize(bool auto_size);

protected:
    void FontChanged() override;

private:
    void Fit();

    std::string caption_;
    bool auto_size_ = true;
};

#pragma once

#include "ui/TControl.h"

#include <string>

// A push button; OnClick runs for a mouse click and for the keyboard.
class TButton : public TControl {
public:
    explicit TButton(TControl* parent);

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    bool TabStop() const override { return true; }

private:
    std::string caption_;
};

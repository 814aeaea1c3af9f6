#pragma once

#include "ui/TControl.h"

#include <string>

// A container with a raised bevel and a centred caption.
class TPanel : public TControl {
public:
    explicit TPanel(TControl* parent);

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);

private:
    std::string caption_;
};

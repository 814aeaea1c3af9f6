#pragma once

#include "ui/TControl.h"
#include "ui/TStrings.h"

#include <memory>

// A choose-only drop-down list. Setting ItemIndex or the items from the
// program runs no handler; every change of the current item by the user runs
// OnChange once, with the mouse or the keyboard (one run per arrow-key step on
// the closed list). The open list shows its items ItemHeight pixels high in
// the list's font and colour.
class TComboBox : public TControl {
public:
    explicit TComboBox(TControl* parent);
    ~TComboBox() override;

    TStrings& Items();
    int ItemIndex() const;
    // -1 leaves no item current.
    void SetItemIndex(int index);

    int ItemHeight() const { return item_height_; }
    void SetItemHeight(int height);
    bool TabStop() const override { return true; }

    TNotifyEvent OnChange;

protected:
    void FontChanged() override;

private:
    std::unique_ptr<TStrings> items_;
    int item_height_ = 13;
    bool program_change_ = false;
};

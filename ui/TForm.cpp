#include "ui/TForm.h"

#include "ui/Dispatch.h"

#include <algorithm>

// The form's rules that need no toolkit, for both backends.

std::vector<TControl*> TForm::TabChain() const
{
    std::vector<TControl*> chain;
    auto visit = [&](auto&& self, const TControl* parent) -> void {
        std::vector<TControl*> level;
        for (const auto& c : controls_)
            if (c->Parent() == parent)
                level.push_back(c.get());
        std::stable_sort(level.begin(), level.end(),
                         [](TControl* a, TControl* b) { return a->TabOrder() < b->TabOrder(); });
        for (TControl* c : level) {
            if (c->TabStop())
                chain.push_back(c);
            self(self, c);
        }
    };
    visit(visit, this);
    return chain;
}

TControl* TForm::FirstFocus() const
{
    for (TControl* c : TabChain())
        if (c->Visible() && c->Enabled())
            return c;
    return nullptr;
}

void TForm::DoCreate()
{
    if (created_)
        return;
    created_ = true;
    if (TNotifyEvent run = OnCreate)
        Dispatch([&] { run(this); });
}

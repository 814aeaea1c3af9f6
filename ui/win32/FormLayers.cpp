#include "ui/win32/FormLayers.h"

#include "ui/TForm.h"
#include "ui/TLabel.h"
#include "ui/win32/ControlEvents.h"

#include <algorithm>
#include <cstddef>

namespace {

using Controls = std::vector<std::unique_ptr<TControl>>;

bool holds_others(const TControl* control, const Controls& controls)
{
    return std::any_of(controls.begin(), controls.end(),
                       [&](const auto& c) { return c->Parent() == control; });
}

bool in_tab_order(const TControl* control, const Controls& controls)
{
    return control->TabStop() || holds_others(control, controls);
}

// The children of parent in creation order.
std::vector<TControl*> children_of(const TControl* parent, const Controls& controls)
{
    std::vector<TControl*> level;
    for (const auto& c : controls)
        if (c->Parent() == parent)
            level.push_back(c.get());
    return level;
}

void move_to(std::vector<TControl*>& order, TControl* control, size_t at)
{
    const auto from = std::find(order.begin(), order.end(), control);
    if (from == order.end())
        return;
    const size_t index = static_cast<size_t>(from - order.begin());
    order.erase(from);
    order.insert(order.begin() + static_cast<std::ptrdiff_t>(index < at ? at - 1 : at), control);
}

size_t index_of(const std::vector<TControl*>& order, const TControl* control)
{
    return static_cast<size_t>(std::find(order.begin(), order.end(), control) - order.begin());
}

// Screen readers go through windows in stacking order and take a static
// text right above a control for its label: a caption goes right above the
// first control it names, a unit right below its value.
void keep_captions_with_their_controls(std::vector<TControl*>& order)
{
    std::vector<const TLabel*> placed;
    for (TControl* control : std::vector<TControl*>(order)) {
        TLabel* caption = control->CaptionLabel();
        if (caption == nullptr || caption->Parent() != control->Parent() ||
            std::find(placed.begin(), placed.end(), caption) != placed.end())
            continue;
        placed.push_back(caption);
        move_to(order, caption, index_of(order, control));
    }
    for (TControl* control : std::vector<TControl*>(order))
        if (auto* value = dynamic_cast<TLabel*>(control))
            if (TLabel* unit = value->UnitLabel(); unit != nullptr && unit->Parent() == value->Parent())
                move_to(order, unit, index_of(order, value) + 1);
}

// Top of the stacking order first.
std::vector<TControl*> stacking_order(const TControl* parent, const Controls& controls)
{
    std::vector<TControl*> level = children_of(parent, controls);
    std::vector<TControl*> order;
    for (TControl* c : level)
        if (!in_tab_order(c, controls))
            order.push_back(c);
    std::vector<TControl*> tabbed;
    for (TControl* c : level)
        if (in_tab_order(c, controls))
            tabbed.push_back(c);
    std::stable_sort(tabbed.begin(), tabbed.end(),
                     [](TControl* a, TControl* b) { return a->TabOrder() < b->TabOrder(); });
    order.insert(order.end(), tabbed.begin(), tabbed.end());
    keep_captions_with_their_controls(order);
    return order;
}

RECT device_bounds(const TControl& control)
{
    const ControlWindow& impl = ControlEvents::Of(control);
    const UINT dpi = ControlEvents::Dpi(control);
    return {Scale(impl.left, dpi), Scale(impl.top, dpi), Scale(impl.left + impl.width, dpi),
            Scale(impl.top + impl.height, dpi)};
}

size_t created_at(const TControl* control, const Controls& controls)
{
    for (size_t i = 0; i < controls.size(); ++i)
        if (controls[i].get() == control)
            return i;
    return controls.size();
}

void stack(const std::vector<TControl*>& order)
{
    HWND above = HWND_TOP;
    for (TControl* c : order) {
        // Only a window out of its place is moved: most are in it already.
        HWND now_above = GetWindow(c->Widget(), GW_HWNDPREV);
        if (now_above != (above == HWND_TOP ? nullptr : above))
            SetWindowPos(c->Widget(), above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        above = c->Widget();
    }
}

bool same_holes(const std::vector<RECT>& a, const std::vector<RECT>& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const RECT& x, const RECT& y) { return EqualRect(&x, &y) != FALSE; });
}

// Holes in each window where a later sibling it overlaps lies below it. A
// window's region is set again only when its holes changed: labels grow and
// shrink with every product shown.
void cut_holes(const std::vector<TControl*>& order, const Controls& controls)
{
    for (size_t i = 0; i < order.size(); ++i) {
        const RECT upper = device_bounds(*order[i]);
        std::vector<RECT> holes;
        for (size_t j = i + 1; j < order.size(); ++j) {
            if (!order[j]->Visible() || created_at(order[j], controls) < created_at(order[i], controls))
                continue;
            const RECT lower = device_bounds(*order[j]);
            RECT overlap;
            if (!IntersectRect(&overlap, &upper, &lower))
                continue;
            OffsetRect(&overlap, -upper.left, -upper.top);
            holes.push_back(overlap);
        }
        std::vector<RECT>& cut = ControlEvents::Of(*order[i]).holes;
        if (same_holes(holes, cut))
            continue;
        if (holes.empty()) {
            SetWindowRgn(order[i]->Widget(), nullptr, TRUE);
        } else {
            HRGN region = CreateRectRgn(0, 0, upper.right - upper.left, upper.bottom - upper.top);
            for (const RECT& hole : holes) {
                HRGN part = CreateRectRgnIndirect(&hole);
                CombineRgn(region, region, part, RGN_DIFF);
                DeleteObject(part);
            }
            SetWindowRgn(order[i]->Widget(), region, TRUE); // the window owns it now
        }
        cut = std::move(holes);
    }
}

std::vector<const TControl*> parents_of(const TForm& form, const Controls& controls)
{
    std::vector<const TControl*> parents{&form};
    for (const auto& c : controls)
        if (holds_others(c.get(), controls))
            parents.push_back(c.get());
    return parents;
}

} // namespace

void ApplyLayers(TForm& form, const Controls& controls)
{
    for (const TControl* parent : parents_of(form, controls)) {
        const std::vector<TControl*> order = stacking_order(parent, controls);
        stack(order);
        cut_holes(order, controls);
    }
}

void CutHoles(TForm& form, const Controls& controls)
{
    for (const TControl* parent : parents_of(form, controls))
        cut_holes(stacking_order(parent, controls), controls);
}

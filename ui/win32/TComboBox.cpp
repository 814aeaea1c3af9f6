#include "ui/TComboBox.h"

#include "ui/win32/ControlEvents.h"

#include <vector>

namespace {

// Choose-only, drawn by us (the items in the list's font and colour at the
// list's item height), keeping its texts so screen readers can read them.
constexpr DWORD kComboStyle = CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS | WS_VSCROLL | WS_TABSTOP;
constexpr int kVisibleItems = 8;
constexpr int kTextMargin = 2;

} // namespace

class ComboItems : public TStrings {
public:
    explicit ComboItems(HWND box) : box_(box) {}

    int Count() const override { return static_cast<int>(texts_.size()); }
    std::string Strings(int index) const override
    {
        return index >= 0 && index < Count() ? texts_[static_cast<size_t>(index)] : std::string();
    }
    void Add(const std::string& text) override
    {
        texts_.push_back(text);
        // Adding leaves the current item as it was, none included.
        SendMessageW(box_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ToWide(text).c_str()));
    }
    void Clear() override
    {
        texts_.clear();
        SendMessageW(box_, CB_RESETCONTENT, 0, 0);
        reported = -1;
    }

    // The current item the program knows of: the last one it set or that
    // OnChange was run for.
    int reported = -1;

    // What the heights were last fitted for: font, item height, control
    // height, dpi.
    struct Fitted {
        FontHandle font;
        int item_height = -1;
        int height = -1;
        UINT dpi = 0;
        bool operator==(const Fitted&) const = default;
    } fitted;

private:
    HWND box_;
    std::vector<std::string> texts_;
};

namespace {

ComboItems& items_of(TStrings& items)
{
    return static_cast<ComboItems&>(items);
}

void draw_item(const TComboBox& combo, const DRAWITEMSTRUCT& item)
{
    HDC dc = item.hDC;
    const bool highlighted = (item.itemState & ODS_SELECTED) != 0;
    RECT box = item.rcItem;
    SetDCBrushColor(dc, highlighted ? kHighlight : kBase);
    FillRect(dc, &box, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    if (item.itemID != static_cast<UINT>(-1)) {
        const LRESULT length = SendMessageW(item.hwndItem, CB_GETLBTEXTLEN, item.itemID, 0);
        std::wstring text(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
        SendMessageW(item.hwndItem, CB_GETLBTEXT, item.itemID, reinterpret_cast<LPARAM>(text.data()));
        text.resize(wcslen(text.c_str()));
        SetBkMode(dc, TRANSPARENT);
        const bool enabled = (item.itemState & ODS_DISABLED) == 0;
        SetTextColor(dc, !enabled ? kDisabledText : highlighted ? kHighlightedText : ToColorRef(combo.Font().Color));
        RECT text_box = box;
        text_box.left += kTextMargin;
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &text_box,
                  DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    if ((item.itemState & ODS_FOCUS) != 0 && (item.itemState & ODS_NOFOCUSRECT) == 0)
        DrawFocusRect(dc, &box);
}

// Moving through the open list changes nothing yet; closing it on another
// item, or a step on the closed list, is the user's change.
void selection_moved(TComboBox& combo)
{
    if (SendMessageW(combo.Widget(), CB_GETDROPPEDSTATE, 0, 0))
        return;
    ComboItems& items = items_of(combo.Items());
    const int index = combo.ItemIndex();
    if (index == items.reported)
        return;
    items.reported = index;
    ControlEvents::Fire(combo, combo.OnChange);
}

} // namespace

TComboBox::TComboBox(TControl* parent) : TControl(parent)
{
    ControlWindow& impl = ControlEvents::Of(*this);
    impl.drop_height = kVisibleItems * item_height_ + 2;
    impl.reflected = [this](UINT message, WPARAM wparam, LPARAM lparam) -> std::optional<LRESULT> {
        switch (message) {
        case WM_MEASUREITEM: {
            auto& measure = *reinterpret_cast<MEASUREITEMSTRUCT*>(lparam);
            // The field's height is fitted to the control's once it exists.
            measure.itemHeight = static_cast<UINT>(Scale(item_height_, ControlEvents::Dpi(*this)));
            return TRUE;
        }
        case WM_DRAWITEM:
            draw_item(*this, *reinterpret_cast<const DRAWITEMSTRUCT*>(lparam));
            return TRUE;
        case WM_COMMAND:
            if (HIWORD(wparam) == CBN_SELCHANGE || HIWORD(wparam) == CBN_CLOSEUP)
                selection_moved(*this);
            return 0;
        default:
            return std::nullopt;
        }
    };
    impl.relayout = [this] { FontChanged(); };
    HWND box = ControlEvents::Create(*this, L"COMBOBOX", kComboStyle, 0, WindowKind::System);
    items_ = std::make_unique<ComboItems>(box);
    Attach(box);
    SendMessageW(box, CB_SETMINVISIBLE, kVisibleItems, 0);
    TComboBox::FontChanged();
}

TComboBox::~TComboBox() = default;

TStrings& TComboBox::Items()
{
    return *items_;
}

int TComboBox::ItemIndex() const
{
    return static_cast<int>(SendMessageW(Widget(), CB_GETCURSEL, 0, 0));
}

void TComboBox::SetItemIndex(int index)
{
    if (index < -1 || index >= items_->Count())
        index = -1;
    SendMessageW(Widget(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    items_of(*items_).reported = index;
}

void TComboBox::SetItemHeight(int height)
{
    item_height_ = height;
    FontChanged();
}

void TComboBox::FontChanged()
{
    HWND box = Widget();
    if (box == nullptr || !items_)
        return;
    const UINT dpi = ControlEvents::Dpi(*this);
    ControlWindow& impl = ControlEvents::Of(*this);
    // Fitting asks the list several times; nothing it depends on changed.
    ComboItems::Fitted now{impl.font, item_height_, Height(), dpi};
    ComboItems& items = items_of(*items_);
    if (now == items.fitted)
        return;
    items.fitted = std::move(now);
    impl.drop_height = kVisibleItems * item_height_ + 2;
    SendMessageW(box, CB_SETITEMHEIGHT, 0, Scale(item_height_, dpi));
    // The closed list is as high as the control. Its field takes what the
    // frame leaves; what a field height turns into differs between systems,
    // so the height is asked again until the list has it.
    const int wanted = Scale(Height(), dpi);
    int field = static_cast<int>(SendMessageW(box, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
    for (int attempt = 0; attempt < 3 && Height() > 0; ++attempt) {
        RECT closed;
        GetWindowRect(box, &closed);
        const int off = wanted - (closed.bottom - closed.top);
        if (off == 0 || field + off <= 0)
            break;
        field += off;
        SendMessageW(box, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);
    }
    // The list sized its own window: the open list's height is given again.
    ControlEvents::Place(*this, true);
    InvalidateRect(box, nullptr, TRUE);
}

#include "base/Exception.h"
#include "tests/ui/win32/Win32TestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

SIZE extent_in_own_font(HWND hwnd, const std::wstring& text)
{
    HDC dc = GetDC(hwnd);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0)));
    SIZE size{0, 0};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(hwnd, dc);
    return size;
}

LOGFONTW font_of(HWND hwnd)
{
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0)), sizeof font, &font);
    return font;
}

} // namespace

TEST(Win32Label, IsAStaticWhoseWidthFollowsTheCaptionAtOnce)
{
    StartWindowSystem();
    TForm form;
    TLabel* label = form.Add<TLabel>();
    label->SetBounds(267, 298, 28, 19);
    struct Case {
        std::string caption;
        std::wstring shown;
    };
    const Case cases[] = {{"9.9", L"9.9"},
                          {"1299.00", L"1299.00"},
                          {"\xD4\xAA\xD4\xAA\xD4\xAA", L"\u5143\u5143\u5143"},
                          {"1000\xBC\xFE", L"1000\u4EF6"},
                          {"a&b", L"a&b"},
                          {"", L""}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        label->SetCaption(c.caption);
        HWND hwnd = label->Widget();
        EXPECT_EQ(ClassOf(hwnd), L"Static");
        // Screen readers read the window text.
        EXPECT_EQ(WindowText(hwnd), c.shown);
        const RECT place = PlaceOf(hwnd);
        EXPECT_EQ(place.left, 267);
        EXPECT_EQ(place.top, 298);
        EXPECT_EQ(label->Width(), c.shown.empty() ? 0 : extent_in_own_font(hwnd, c.shown).cx);
        EXPECT_EQ(place.right - place.left, label->Width());
    }
}

TEST(Win32Label, FontStylesReachTheWindowsFont)
{
    StartWindowSystem();
    TForm form;
    TLabel* label = form.Add<TLabel>();
    label->SetCaption("69.5");
    struct Case {
        const char* name;
        int height;
        bool bold, underline, strike;
    };
    const Case cases[] = {
        {"Times New Roman", 16, true, false, true}, {"Tahoma", 14, true, true, false}, {"Tahoma", 12, false, false, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TFont font;
        font.Name = c.name;
        font.Height = c.height;
        font.Bold = c.bold;
        font.Underline = c.underline;
        font.StrikeOut = c.strike;
        label->SetFont(font);
        const LOGFONTW made = font_of(label->Widget());
        EXPECT_EQ(made.lfHeight, -c.height);
        EXPECT_EQ(made.lfWeight >= FW_BOLD, c.bold);
        EXPECT_EQ(made.lfUnderline != 0, c.underline);
        EXPECT_EQ(made.lfStrikeOut != 0, c.strike);
        EXPECT_EQ(label->Width(), extent_in_own_font(label->Widget(), L"69.5").cx);
    }
}

TEST(Win32Label, LabelsInTheSameFontShareItAndAChangeReachesOnlyTheChangedOne)
{
    StartWindowSystem();
    TForm form;
    TFont bold;
    bold.Name = "Tahoma";
    bold.Height = 14;
    bold.Bold = true;
    TLabel* labels[3] = {form.Add<TLabel>(), form.Add<TLabel>(), form.Add<TLabel>()};
    for (TLabel* label : labels) {
        label->SetCaption("\xD4\xAA 1000");
        label->SetFont(bold);
    }
    const auto font = [](TLabel* label) { return SendMessageW(label->Widget(), WM_GETFONT, 0, 0); };
    EXPECT_EQ(font(labels[0]), font(labels[1]));
    EXPECT_EQ(font(labels[0]), font(labels[2]));
    struct Case {
        int height;
        bool bold;
    };
    const Case cases[] = {{29, true}, {12, false}, {14, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.height);
        TFont changed = bold;
        changed.Height = c.height;
        changed.Bold = c.bold;
        labels[1]->SetFont(changed);
        EXPECT_EQ(font_of(labels[1]->Widget()).lfHeight, -c.height);
        EXPECT_EQ(font_of(labels[0]->Widget()).lfHeight, -14);
        EXPECT_EQ(font_of(labels[2]->Widget()).lfWeight, FW_BOLD);
        EXPECT_EQ(font(labels[0]), font(labels[2]));
        EXPECT_EQ(font(labels[1]) == font(labels[0]), c.height == 14);
        // The text is measured again in the new font, the others' not.
        for (TLabel* label : labels)
            EXPECT_EQ(label->Width(), extent_in_own_font(label->Widget(), L"\u5143 1000").cx);
    }
}

TEST(Win32Label, PointerEntersAndLeavesOncePressAndReleaseInsideIsAClickAndTheHandShows)
{
    StartWindowSystem();
    TForm form;
    TLabel* label = form.Add<TLabel>();
    label->SetCaption("1000");
    label->SetCursor(TCursor::HandPoint);
    int clicks = 0;
    std::string crossings;
    label->OnClick = [&](TControl*) { ++clicks; };
    label->OnMouseEnter = [&](TControl*) { crossings += "in "; };
    label->OnMouseLeave = [&](TControl*) { crossings += "out "; };
    for (int x : {1, 2, 3})
        SendMessageW(label->Widget(), WM_MOUSEMOVE, 0, MAKELPARAM(x, 2));
    SendMessageW(label->Widget(), WM_MOUSELEAVE, 0, 0);
    SendMessageW(label->Widget(), WM_MOUSEMOVE, 0, MAKELPARAM(1, 2));
    EXPECT_EQ(crossings, "in out in ");
    Press(label->Widget(), WM_LBUTTONDOWN, 2, 2);
    SendMessageW(label->Widget(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    SendMessageW(label->Widget(), WM_LBUTTONUP, 0, MAKELPARAM(500, 2)); // released outside
    Press(label->Widget(), WM_RBUTTONDOWN, 2, 2);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(SendMessageW(label->Widget(), WM_SETCURSOR, reinterpret_cast<WPARAM>(label->Widget()),
                             MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND));
}

namespace {

class Win32Combo : public ::testing::Test {
protected:
    void SetUp() override
    {
        StartWindowSystem();
        form = std::make_unique<TForm>();
        form->SetClientSize(300, 200);
        combo = form->Add<TComboBox>();
        TFont font;
        font.Height = 11;
        font.Bold = true;
        font.Color = Colors::Blue;
        combo->SetFont(font);
        combo->SetBounds(10, 10, 129, 21);
        combo->SetItemHeight(13);
        combo->OnChange = [this](TControl*) { changes.push_back(combo->ItemIndex()); };
        for (const char* name : {"\xC9\xCC\xC6\xB7", "b", "c", "d"})
            combo->Items().Add(name);
        form->Show();
        Application->ProcessMessages();
    }

    std::unique_ptr<TForm> form;
    TComboBox* combo = nullptr;
    std::vector<int> changes;
};

} // namespace

TEST_F(Win32Combo, IsAChooseOnlyListOfTheLayoutsSizes)
{
    HWND box = combo->Widget();
    EXPECT_EQ(GetWindowLongW(box, GWL_STYLE) & 3, CBS_DROPDOWNLIST);
    EXPECT_EQ(combo->ItemIndex(), -1); // adding makes no item current
    EXPECT_EQ(SendMessageW(box, CB_GETITEMHEIGHT, 0, 0), 13);
    RECT closed;
    GetWindowRect(box, &closed);
    EXPECT_EQ(closed.bottom - closed.top, 21);
    wchar_t text[16] = {};
    SendMessageW(box, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(text));
    EXPECT_EQ(std::wstring(text), L"\u5546\u54C1");
    EXPECT_EQ(combo->Items().Strings(0), "\xC9\xCC\xC6\xB7");
}

TEST_F(Win32Combo, ProgramChangesRunNoHandlerAndEveryArrowStepRunsItOnce)
{
    combo->SetItemIndex(2);
    combo->SetItemIndex(7); // outside the list: none
    EXPECT_EQ(combo->ItemIndex(), -1);
    combo->SetItemIndex(0);
    EXPECT_TRUE(changes.empty());
    SetFocus(combo->Widget());
    for (WPARAM key : {VK_DOWN, VK_DOWN, VK_UP})
        SendMessageW(combo->Widget(), WM_KEYDOWN, key, 1);
    EXPECT_EQ(changes, (std::vector<int>{1, 2, 1}));
    combo->Items().Clear();
    EXPECT_EQ(changes.size(), 3u);
}

TEST(Win32ErrorReport, ReturnAndSpacePressAFocusedButtonAndTheirErrorsAreReported)
{
    StartWindowSystem();
    InterceptedBoxes boxes;
    TForm form;
    TButton* button = form.Add<TButton>();
    button->SetBounds(0, 0, 40, 20);
    int runs = 0;
    button->OnClick = [&](TControl*) {
        ++runs;
        throw Exception("pressed");
    };
    form.Show();
    SetFocus(button->Widget());
    KeyToFocus(VK_RETURN);
    KeyToFocus(VK_SPACE);
    EXPECT_EQ(runs, 2);
    ASSERT_EQ(boxes.boxes.size(), 2u);
    EXPECT_EQ(boxes.boxes[1].text, "pressed.");
}

TEST(Win32Form, ColoursAreGivenToItsOwnControlsOnlyWhateverOtherWindowsKeepInTheirUserData)
{
    StartWindowSystem();
    TForm form;
    TLabel* label = form.Add<TLabel>();
    TFont red;
    red.Color = Colors::Red;
    label->SetFont(red);
    // A window the form did not make, holding something that is no control.
    HWND foreign = CreateWindowExW(0, L"STATIC", L"x", WS_CHILD, 0, 0, 10, 10, form.Widget(), nullptr, nullptr, nullptr);
    SetWindowLongPtrW(foreign, GWLP_USERDATA, 0x1234);
    struct Case {
        const char* what;
        HWND child;
        COLORREF text;
    };
    const Case cases[] = {{"label", label->Widget(), RGB(255, 0, 0)}, {"foreign", foreign, GetSysColor(COLOR_WINDOWTEXT)}};
    HDC dc = CreateCompatibleDC(nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetTextColor(dc, RGB(1, 2, 3));
        // Ours get their font's colour, any other window the system's.
        SendMessageW(form.Widget(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(c.child));
        EXPECT_EQ(GetTextColor(dc), c.text);
    }
    DeleteDC(dc);
    DestroyWindow(foreign);
}

TEST(Win32Label, ANewLabelHasItsFormsFontAndItsHeightBeforeItHasText)
{
    StartWindowSystem();
    struct Case {
        int height;
        bool bold;
    };
    const Case cases[] = {{11, false}, {14, true}, {29, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.height);
        TForm form;
        TFont font;
        font.Name = "Tahoma";
        font.Height = c.height;
        font.Bold = c.bold;
        form.SetFont(font);
        TLabel* label = form.Add<TLabel>();
        HWND hwnd = label->Widget();
        EXPECT_EQ(font_of(hwnd).lfHeight, -c.height);
        HDC dc = GetDC(hwnd);
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0)));
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc, &metrics);
        SelectObject(dc, old);
        ReleaseDC(hwnd, dc);
        const RECT place = PlaceOf(hwnd);
        EXPECT_EQ(place.bottom - place.top, metrics.tmHeight);
        EXPECT_EQ(label->Height(), metrics.tmHeight);
        EXPECT_EQ(place.right - place.left, 0);
    }
}

TEST(Win32Control, WhatAHiddenBarUncoveredIsPaintedAgainInEveryWindowBelowIt)
{
    StartWindowSystem();
    TForm form;
    form.SetClientSize(400, 200);
    TStringGrid* grid = form.Add<TStringGrid>();
    grid->SetBounds(10, 10, 200, 120);
    grid->SetColCount(2);
    grid->SetRowCount(8);
    for (int row = 0; row < 8; ++row)
        grid->SetCells(1, row, "\xC9\xCC\xC6\xB7 " + std::to_string(row)); // 商品
    TProgressBar* bar = form.Add<TProgressBar>();
    form.Show();
    struct Case {
        const char* where;
        int left, top, width;
    };
    const Case cases[] = {{"inside the grid", 40, 50, 120}, {"across the grid's edge", 150, 120, 120}, {"beside the grid", 230, 60, 100}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.where);
        bar->SetVisible(false);
        bar->SetBounds(c.left, c.top, c.width, 17);
        Application->ProcessMessages();
        const Shot before = ShotOf(form.Widget(), true);
        bar->SetVisible(true);
        bar->SetPosition(bar->MaxPosition / 2);
        Application->ProcessMessages();
        ASSERT_NE(ShotOf(form.Widget(), true).pixels, before.pixels) << "the bar did not show";
        bar->SetVisible(false);
        Application->ProcessMessages();
        const Shot after = ShotOf(form.Widget(), true);
        int stale = 0;
        for (int y = c.top; y < c.top + 17; ++y)
            for (int x = c.left; x < c.left + c.width; ++x)
                stale += after.At(x, y) != before.At(x, y);
        EXPECT_EQ(stale, 0);
    }
}

// A control whose text or place changes shows the same pixels as a new one
// made in its final state, and the place it left shows the form again: a
// move copies no old pixels and a frameless window skips its frame's paint,
// so nothing may be left unpainted.
TEST(Win32Control, AChangedControlShowsWhatANewOneInItsFinalStateShows)
{
    StartWindowSystem();
    const std::string long_text = "1299.00 \xC9\xCC\xC6\xB7"; // 商品
    struct Case {
        const char* what;
        std::function<TControl*(TForm&, int left, int top)> make;
        std::function<void(TControl&)> change;
        int moved_by;
    };
    const auto label = [](const std::string& text) {
        return [text](TForm& form, int left, int top) -> TControl* {
            TLabel* made = form.Add<TLabel>();
            made->SetBounds(left, top, 0, 0);
            made->SetCaption(text);
            return made;
        };
    };
    const auto grid = [](TForm& form, int left, int top) -> TControl* {
        TStringGrid* made = form.Add<TStringGrid>();
        made->SetBounds(left, top, 150, 80);
        made->SetColCount(2);
        made->SetRowCount(3);
        for (int row = 0; row < 3; ++row)
            made->SetCells(1, row, "\xC9\xCC\xC6\xB7 " + std::to_string(row));
        return made;
    };
    const auto recaption = [](const std::string& text) {
        return [text](TControl& control) { static_cast<TLabel&>(control).SetCaption(text); };
    };
    const auto move_right = [](TControl& control) {
        control.SetBounds(control.Left() + 40, control.Top(), control.Width(), control.Height());
    };
    const Case cases[] = {
        {"a label that grows", label("9.9"), recaption(long_text), 0},
        {"a label that shrinks", label(long_text), recaption("9.9"), 0},
        {"a label that moves", label(long_text), move_right, 40},
        {"a framed grid that moves", grid, move_right, 40},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TForm form;
        form.SetClientSize(420, 240);
        form.Show();
        const Shot blank = ShotOf(form.Widget(), true);
        TControl* changed = c.make(form, 10, 10);
        Application->ProcessMessages();
        const RECT before = PlaceOf(changed->Widget());
        c.change(*changed);
        TControl* fresh = c.make(form, 10 + c.moved_by, 130);
        if (c.moved_by == 0)
            c.change(*fresh);
        Application->ProcessMessages();
        const Shot shot = ShotOf(form.Widget(), true);
        const RECT now = PlaceOf(changed->Widget());
        const RECT reference = PlaceOf(fresh->Widget());
        ASSERT_EQ(now.right - now.left, reference.right - reference.left);
        ASSERT_EQ(now.bottom - now.top, reference.bottom - reference.top);
        int differing = 0;
        int stale = 0;
        for (int y = 0; y < 130; ++y)
            for (int x = 0; x < shot.width; ++x) {
                const POINT at{x, y};
                if (PtInRect(&now, at))
                    differing += shot.At(x, y) != shot.At(x - now.left + reference.left, y - now.top + reference.top);
                else if (PtInRect(&before, at))
                    stale += shot.At(x, y) != blank.At(x, y);
            }
        EXPECT_EQ(differing, 0);
        EXPECT_EQ(stale, 0);
    }
}

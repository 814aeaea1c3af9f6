#include "tests/catalogue/CatalogueTestSupport.h"

#include <windows.h>

#include <commctrl.h>

namespace {

// Presses reach only windows the user could press: shown and enabled.
bool Pressable(HWND hwnd)
{
    return IsWindowVisible(hwnd) && IsWindowEnabled(hwnd);
}

void Press(HWND hwnd, TMouseButton button, int x, int y)
{
    const UINT down = button == TMouseButton::Left    ? WM_LBUTTONDOWN
                      : button == TMouseButton::Right ? WM_RBUTTONDOWN
                                                      : WM_MBUTTONDOWN;
    const WPARAM held = button == TMouseButton::Left ? MK_LBUTTON : button == TMouseButton::Right ? MK_RBUTTON : MK_MBUTTON;
    SendMessageW(hwnd, down, held, MAKELPARAM(x, y));
    // Each button-up message follows its button-down.
    SendMessageW(hwnd, down + 1, 0, MAKELPARAM(x, y));
    Application->ProcessMessages();
}

// Holds Shift down in this thread's keyboard state for as long as it lives.
class HeldShift {
public:
    explicit HeldShift(bool held) : held_(held)
    {
        if (held_)
            set(0x80);
    }
    ~HeldShift()
    {
        if (held_)
            set(0);
    }

private:
    static void set(BYTE state)
    {
        BYTE keys[256];
        GetKeyboardState(keys);
        keys[VK_SHIFT] = keys[VK_LSHIFT] = state;
        SetKeyboardState(keys);
    }
    bool held_;
};

} // namespace

void StartWindowSystem()
{
    Application->Initialize();
}

void CatalogueWindowTest::PressRow(int row, TMouseButton button)
{
    HWND list = form->gridshowinfo->Widget();
    RECT box{};
    box.left = LVIR_BOUNDS;
    SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&box));
    // The middle of the title column, right of the row numbers.
    Press(list, button, box.left + form->gridshowinfo->ColWidths(0) + 50, (box.top + box.bottom) / 2);
}

void CatalogueWindowTest::Click(TControl& control)
{
    if (Pressable(control.Widget()))
        Press(control.Widget(), TMouseButton::Left, 2, 2);
}

void CatalogueWindowTest::ChooseWithKeys(TComboBox& list, int index)
{
    SetFocus(list.Widget());
    while (list.ItemIndex() != index) {
        const int before = list.ItemIndex();
        SendMessageW(list.Widget(), WM_KEYDOWN, before < index ? VK_DOWN : VK_UP, 1);
        Application->ProcessMessages();
        ASSERT_NE(list.ItemIndex(), before) << "the list did not move";
    }
}

void CatalogueWindowTest::PressKey(TControl& control, TestKey key, bool shift)
{
    static const WPARAM keys[] = {VK_UP, VK_DOWN, VK_RIGHT, VK_PRIOR, VK_NEXT, VK_HOME, VK_END, VK_RETURN, VK_RETURN};
    // Keypad Enter is Return marked as an extended key.
    const LPARAM extended = key == TestKey::KeypadEnter ? 0x01000000 : 0;
    SetFocus(control.Widget());
    HeldShift held(shift);
    // Through the message loop, as typed keys come (so the form's dialog keys see them).
    const WPARAM vk = keys[static_cast<int>(key)];
    PostMessageW(control.Widget(), WM_KEYDOWN, vk, 1 | extended);
    PostMessageW(control.Widget(), WM_KEYUP, vk, 1 | extended | 0xC0000000);
    Application->ProcessMessages();
}

void CatalogueWindowTest::Hover(TControl& control, bool inside)
{
    if (inside)
        SendMessageW(control.Widget(), WM_MOUSEMOVE, 0, MAKELPARAM(1, 1));
    else
        SendMessageW(control.Widget(), WM_MOUSELEAVE, 0, 0);
}

namespace {

// The window a click at (x, y) of the control goes to: the one the window
// system finds at that point of the screen.
HWND WindowAt(TControl& control, int x, int y, POINT& inside)
{
    // A click is taken from the loop after what the handler left for it.
    Application->ProcessMessages();
    RECT box{};
    GetWindowRect(control.Widget(), &box);
    const POINT on_screen{box.left + x, box.top + y};
    HWND hit = WindowFromPoint(on_screen);
    inside = on_screen;
    if (hit != nullptr)
        ScreenToClient(hit, &inside);
    return hit;
}

} // namespace

bool CatalogueWindowTest::TakesClickAt(TControl& control, int x, int y)
{
    POINT inside{};
    HWND hit = WindowAt(control, x, y, inside);
    return hit == control.Widget() || IsChild(control.Widget(), hit);
}

void CatalogueWindowTest::ClickAt(TControl& control, int x, int y)
{
    POINT inside{};
    if (HWND hit = WindowAt(control, x, y, inside); hit != nullptr && Pressable(hit))
        Press(hit, TMouseButton::Left, inside.x, inside.y);
}

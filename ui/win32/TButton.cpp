#include "ui/TButton.h"

#include "ui/win32/ControlEvents.h"

namespace {

bool is_return(WPARAM key)
{
    // Keypad Enter is VK_RETURN too, marked as an extended key.
    return key == VK_RETURN;
}

} // namespace

TButton::TButton(TControl* parent) : TControl(parent)
{
    ControlWindow& impl = ControlEvents::Of(*this);
    impl.reflected = [this](UINT message, WPARAM wparam, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_COMMAND && HIWORD(wparam) == BN_CLICKED) {
            Click();
            return 0;
        }
        return std::nullopt;
    };
    // Return presses a focused button, as Space does; the dialog manager
    // would otherwise take it for the window's default button.
    impl.own = [this](UINT message, WPARAM wparam, LPARAM lparam) -> std::optional<LRESULT> {
        switch (message) {
        case WM_GETDLGCODE: {
            const auto* key = reinterpret_cast<const MSG*>(lparam);
            if (key != nullptr && key->message == WM_KEYDOWN && is_return(key->wParam))
                return DLGC_WANTMESSAGE | DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
            return std::nullopt;
        }
        case WM_KEYDOWN:
            if (is_return(wparam)) {
                // Once per press, not for the key's repeats.
                if ((lparam & (1 << 30)) == 0)
                    Click();
                return 0;
            }
            return std::nullopt;
        case WM_CHAR:
            if (wparam == L'\r')
                return 0;
            return std::nullopt;
        default:
            return std::nullopt;
        }
    };
    Attach(ControlEvents::Create(*this, L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0, WindowKind::System));
}

void TButton::SetCaption(const std::string& caption)
{
    caption_ = caption;
    SetWindowTextW(Widget(), ToWide(caption).c_str());
}

#include "ui/TApplication.h"

#include "picture/ScreenDepth.h"
#include "ui/win32/ControlEvents.h"
#include "ui/win32/ScreenImage.h"
#include "ui/win32/SystemLibrary.h"

#include <commctrl.h>
#include <objbase.h>

#include <string_view>

// Lives for the whole process; Run releases the forms at its end.
TApplication* Application = new TApplication();

struct TApplication::Impl {
    bool started = false;
};

TApplication::TApplication() : impl_(std::make_unique<Impl>()) {}

TApplication::~TApplication()
{
    forms_.clear();
}

namespace {

// The keyboard interface of dialogs (Tab, arrows, Return) for the form the
// message is for.
bool is_dialog_message(MSG& message)
{
    HWND root = message.hwnd != nullptr ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    wchar_t name[32] = {};
    if (root == nullptr || GetClassNameW(root, name, 32) == 0 || std::wstring_view(name) != kFormClass)
        return false;
    return IsDialogMessageW(root, &message);
}

void dispatch(MSG& message)
{
    if (is_dialog_message(message))
        return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

} // namespace

void TApplication::Initialize()
{
    if (impl_->started)
        return;
    impl_->started = true;
    RestrictDllSearchToSystem();
    INITCOMMONCONTROLSEX controls{sizeof controls,
                                  ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    // Screen readers' annotations and the PNG writer are COM objects.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    HDC screen = GetDC(nullptr);
    SetScreenBitsPerPixel(GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES));
    ReleaseDC(nullptr, screen);
}

void TApplication::Adopt(std::unique_ptr<TForm> form)
{
    forms_.push_back(std::move(form));
}

void TApplication::Run()
{
    if (TForm* main = MainForm()) {
        main->Show();
        MSG message;
        while (GetMessageW(&message, nullptr, 0, 0) > 0)
            dispatch(message);
    }
    forms_.clear();
}

void TApplication::ProcessMessages()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // Left for the loop that ends on it.
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        dispatch(message);
    }
}

bool TApplication::SaveScreenImage(const std::string& path) const
{
    return SavePng(path, CaptureScreen());
}

bool TApplication::ScreenIsBlank() const
{
    const ScreenPixels screen = CaptureScreen();
    if (screen.Empty())
        return true;
    const uint32_t first = screen.bgra.front();
    for (int y = 0; y < screen.height; y += 4)
        for (int x = 0; x < screen.width; x += 4)
            if (screen.bgra[static_cast<size_t>(y) * static_cast<size_t>(screen.width) + static_cast<size_t>(x)] != first)
                return false;
    return true;
}

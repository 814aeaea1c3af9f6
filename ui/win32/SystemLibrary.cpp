#include "ui/win32/SystemLibrary.h"

#include <string>

// Windows 8 and 7 SP1 with KB2533623 know these; older ones refuse them.
#ifndef LOAD_LIBRARY_SEARCH_SYSTEM32
#define LOAD_LIBRARY_SEARCH_SYSTEM32 0x00000800
#endif

namespace {

template <typename Function>
Function export_of(HMODULE module, const char* name)
{
    if (module == nullptr)
        return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

std::wstring system_folder()
{
    wchar_t folder[MAX_PATH];
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(folder, length) : std::wstring();
}

} // namespace

void RestrictDllSearchToSystem()
{
    using SetDefault = BOOL(WINAPI*)(DWORD);
    const auto set_default = export_of<SetDefault>(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories");
    if (set_default != nullptr && set_default(LOAD_LIBRARY_SEARCH_SYSTEM32))
        return;
    // Without the update the current folder at least goes out of the search.
    SetDllDirectoryW(L"");
}

HMODULE SystemLibrary(const wchar_t* name)
{
    HMODULE module = LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (module == nullptr && GetLastError() == ERROR_INVALID_PARAMETER) {
        // An older Windows: the whole path names the system's copy.
        const std::wstring folder = system_folder();
        if (!folder.empty())
            module = LoadLibraryW((folder + L'\\' + name).c_str());
    }
    return module;
}

void RemoveVisualStyle(HWND hwnd)
{
    using SetTheme = HRESULT(WINAPI*)(HWND, const wchar_t*, const wchar_t*);
    static const SetTheme set_theme = export_of<SetTheme>(SystemLibrary(L"uxtheme.dll"), "SetWindowTheme");
    if (set_theme != nullptr)
        set_theme(hwnd, L"", L"");
}

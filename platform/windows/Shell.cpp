#include "platform/SystemShell.h"

#include "platform/CodePage.h"

#include <windows.h>
#include <objbase.h>
#include <shellapi.h>

namespace {

// The shell may hand the address to COM components; it asks for an
// apartment on the calling thread, kept only for the call unless the thread
// had one.
class ComApartment {
public:
    ComApartment() : result_(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
    ~ComApartment()
    {
        if (SUCCEEDED(result_))
            ::CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    HRESULT result_;
};

} // namespace

void SystemShellOpen(const std::string& address)
{
    // The address is the program's own text (code page 936); no verb opens
    // it with the default action, the browser for a web address.
    const std::u16string wide = AnsiToWide(address);
    ComApartment apartment;
    ::ShellExecuteW(nullptr, nullptr, reinterpret_cast<const wchar_t*>(wide.c_str()), nullptr, nullptr, SW_SHOWNORMAL);
}

#include "ui/win32/Accessibility.h"

#include "ui/TForm.h"
#include "ui/TImage.h"
#include "ui/TLabel.h"
#include "ui/TProgressBar.h"
#include "ui/win32/Win32Bridge.h"

#include <initguid.h>
#include <oleacc.h>

#include <optional>

namespace {

// The property services of the calling thread's COM apartment, made on the
// first annotation and kept: making them costs a class lookup each time, and
// a window is annotated many times while it is built.
class PropertyServices {
public:
    PropertyServices() = default;
    ~PropertyServices()
    {
        if (services_ != nullptr)
            services_->Release();
    }
    PropertyServices(const PropertyServices&) = delete;
    PropertyServices& operator=(const PropertyServices&) = delete;

    // nullptr while the thread has no COM apartment; asked again next time.
    static IAccPropServices* OfThisThread()
    {
        thread_local PropertyServices kept;
        if (kept.services_ == nullptr &&
            FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                                    reinterpret_cast<void**>(&kept.services_))))
            kept.services_ = nullptr;
        return kept.services_;
    }

private:
    IAccPropServices* services_ = nullptr;
};

void annotate_text(HWND hwnd, const MSAAPROPID& property, const std::wstring& text)
{
    IAccPropServices* services = PropertyServices::OfThisThread();
    if (services == nullptr || hwnd == nullptr)
        return;
    if (text.empty()) {
        MSAAPROPID props[] = {property};
        services->ClearHwndProps(hwnd, OBJID_CLIENT, CHILDID_SELF, props, 1);
    } else {
        services->SetHwndPropStr(hwnd, OBJID_CLIENT, CHILDID_SELF, property, text.c_str());
    }
}

} // namespace

void AnnotateName(HWND hwnd, const std::wstring& name)
{
    annotate_text(hwnd, PROPID_ACC_NAME, name);
}

void AnnotateDescription(HWND hwnd, const std::wstring& description)
{
    annotate_text(hwnd, PROPID_ACC_DESCRIPTION, description);
}

namespace {

// A number-valued property; none clears it.
void annotate_number(HWND hwnd, const MSAAPROPID& property, std::optional<LONG> number)
{
    IAccPropServices* services = PropertyServices::OfThisThread();
    if (services == nullptr || hwnd == nullptr)
        return;
    if (!number) {
        MSAAPROPID props[] = {property};
        services->ClearHwndProps(hwnd, OBJID_CLIENT, CHILDID_SELF, props, 1);
        return;
    }
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_I4;
    value.lVal = *number;
    services->SetHwndProp(hwnd, OBJID_CLIENT, CHILDID_SELF, property, value);
}

} // namespace

void AnnotateRole(HWND hwnd, LONG role)
{
    annotate_number(hwnd, PROPID_ACC_ROLE, role);
}

void AnnotateOffered(HWND hwnd, bool offered)
{
    annotate_number(hwnd, PROPID_ACC_STATE, offered ? std::nullopt : std::optional<LONG>(STATE_SYSTEM_INVISIBLE));
}

namespace {

std::wstring caption_of(const TLabel* label)
{
    return label != nullptr ? ToWide(label->Caption()) : std::wstring();
}

const TForm* form_of(const TControl& control)
{
    const TControl* top = &control;
    while (top->Parent() != nullptr)
        top = top->Parent();
    return dynamic_cast<const TForm*>(top);
}

} // namespace

void RefreshAccessibleName(TControl& control)
{
    HWND hwnd = control.Widget();
    if (hwnd == nullptr)
        return;
    if (auto* label = dynamic_cast<TLabel*>(&control)) {
        // A static text is read as its text; a value is read with its unit.
        const TLabel* unit = label->UnitLabel();
        AnnotateName(hwnd, unit != nullptr ? caption_of(label) + caption_of(unit) : std::wstring());
        return;
    }
    if (auto* image = dynamic_cast<TImage*>(&control)) {
        const bool showing = image->Picture().Graphic() != nullptr;
        SetWindowTextW(hwnd, showing ? ToWide(image->AccessibleName()).c_str() : L"");
        AnnotateRole(hwnd, ROLE_SYSTEM_GRAPHIC);
        // An empty box (a product without that tag) is nothing to read.
        AnnotateOffered(hwnd, showing);
        return;
    }
    if (dynamic_cast<TProgressBar*>(&control) != nullptr) {
        const TForm* form = form_of(control);
        AnnotateName(hwnd, form != nullptr ? ToWide(form->Caption()) : std::wstring());
        return;
    }
    AnnotateName(hwnd, !control.AccessibleName().empty() ? ToWide(control.AccessibleName())
                                                         : caption_of(control.CaptionLabel()));
}

#include "ui/TForm.h"

#include "ui/Dispatch.h"

// The form's rules that need no toolkit, for both backends.

void TForm::DoCreate()
{
    if (created_)
        return;
    created_ = true;
    if (TNotifyEvent run = OnCreate)
        Dispatch([&] { run(this); });
}

// The application object's error paths, the same on every window system:
// the default error report and the fatal box.
#include "ui/TApplication.h"

#include <cstdio>
#include <cstdlib>

std::string TApplication::ReportText(const std::string& message)
{
    if (!message.empty() && static_cast<unsigned char>(message.back()) > static_cast<unsigned char>('.'))
        return message + ".";
    return message;
}

void TApplication::HandleException(const std::exception& error)
{
    ShowMessageBox(ReportText(error.what()), MessageKind::ErrorReport);
}

void TApplication::FatalMessage(const std::string& text)
{
    try {
        ShowMessageBox(text, MessageKind::Fatal);
    } catch (...) {
        // Ending is what matters now.
    }
    std::fflush(nullptr);
    // At once: no handler, destructor or message loop runs after this.
    std::_Exit(0);
}

void TApplication::ShowMessageBox(const std::string& text, MessageKind kind)
{
    if (MessageBoxHook) {
        MessageBoxHook(text, title_, kind);
        return;
    }
    RunMessageBox(text, title_, kind);
}

#pragma once

#include <string>

enum class MessageKind {
    ErrorReport, // stop icon, OK, captioned with the title
    Fatal,       // no icon, "OK", centred on the screen, captioned with the title
};

// Shows a modal message box with text as plain text (never markup) and waits
// until it is dismissed. Before the window system is started the text goes
// to standard error instead.
void RunMessageBox(const std::string& text, const std::string& caption, MessageKind kind);

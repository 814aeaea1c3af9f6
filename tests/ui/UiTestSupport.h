#pragma once

#include "ui/ui.h"

#include <QByteArray>
#include <QtGlobal>

#include <string>
#include <vector>

// Starts the window system once, on the offscreen platform unless the
// environment names another.
inline void StartWindowSystem()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    Application->Initialize();
}

// Message boxes the program asked for, instead of showing them.
struct BoxRecord {
    std::string text;
    std::string caption;
    MessageKind kind;
};

class InterceptedBoxes {
public:
    InterceptedBoxes()
    {
        Application->MessageBoxHook = [this](const std::string& text, const std::string& caption, MessageKind kind) {
            boxes.push_back({text, caption, kind});
        };
    }
    ~InterceptedBoxes() { Application->MessageBoxHook = nullptr; }

    std::vector<BoxRecord> boxes;
};

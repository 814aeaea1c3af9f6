#pragma once

#include "ui/MessageBox.h"
#include "ui/TForm.h"

#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// The application object: title, forms, message loop, and what becomes of an
// error no handler caught.
class TApplication {
public:
    TApplication();
    ~TApplication();
    TApplication(const TApplication&) = delete;
    TApplication& operator=(const TApplication&) = delete;

    // Starts the window system, or takes the one already started, and gives
    // it the look the window was designed in: Fusion with its light palette,
    // whatever the desktop's theme. Safe to call more than once.
    void Initialize();

    const std::string& Title() const { return title_; }
    void SetTitle(std::string title) { title_ = std::move(title); }

    // Creates a form, stores it in `ref`, then runs its OnCreate. The first
    // form created is the main form: closing it ends Run.
    template <class T>
    void CreateForm(T*& ref)
    {
        auto form = std::make_unique<T>();
        ref = form.get();
        Adopt(std::move(form));
        ref->DoCreate();
    }
    TForm* MainForm() const { return forms_.empty() ? nullptr : forms_.front().get(); }

    // Shows the main form and runs the message loop until it closes; then
    // releases the forms.
    void Run();
    // Handles what is waiting in the message queue, without blocking.
    void ProcessMessages();

    // Saves what the primary screen shows (every window on it) as a PNG;
    // false when there is no screen or the file cannot be written.
    bool SaveScreenImage(const std::string& path) const;
    // True while the primary screen shows nothing but one colour.
    bool ScreenIsBlank() const;

    // The default error report.
    void HandleException(const std::exception& error);
    // Shows text in the fatal box and ends the process with exit code 0,
    // without the orderly end of Run.
    [[noreturn]] void FatalMessage(const std::string& text);

    // The text the default error report shows for an error message: a full
    // stop is appended when the text is not empty and its last byte sorts
    // after ".".
    static std::string ReportText(const std::string& message);

    // When set, message boxes are handed here instead of being shown.
    std::function<void(const std::string& text, const std::string& caption, MessageKind kind)> MessageBoxHook;

private:
    void Adopt(std::unique_ptr<TForm> form);
    void ShowMessageBox(const std::string& text, MessageKind kind);

    struct Impl;
    std::unique_ptr<Impl> impl_;
    std::string title_;
    std::vector<std::unique_ptr<TForm>> forms_;
};

extern TApplication* Application;

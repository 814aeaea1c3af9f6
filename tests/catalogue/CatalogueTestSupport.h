#pragma once

#include "app/main_window.h"
#include "catalogue/catalogue.h"
#include "tests/catalogue/RecordingService.h"
#include "ui/TMouse.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

// Keys the tests press.
enum class TestKey { Up, Down, Right, PageUp, PageDown, Home, End, Return, KeypadEnter };

// Starts the window system the tests drive, once per process.
void StartWindowSystem();

// Form1 against a catalogue service, with message boxes and the shell
// intercepted; on Linux on Qt's offscreen platform.
class CatalogueWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Creates the window and runs its creation handler against base_url.
    void OpenWindow(const std::string& base_url);

    // Simulated input, as the window system delivers it (each backend has its own).
    void PressRow(int row, TMouseButton button = TMouseButton::Left);
    void Click(TControl& control);
    // Moves a drop-down's current item to index with arrow keys, one step at a time.
    void ChooseWithKeys(TComboBox& list, int index);
    // A key pressed and released on control, which takes the focus first; shift held with it.
    void PressKey(TControl& control, TestKey key, bool shift = false);
    // Whether a click at (x, y) of the control, in its own coordinates,
    // reaches it (or a window of its own) rather than a control above it.
    bool TakesClickAt(TControl& control, int x, int y);
    // A left click at (x, y) of the control, delivered to whatever window
    // the window system finds there.
    void ClickAt(TControl& control, int x, int y);
    // The mouse entering (true) or leaving the control.
    void Hover(TControl& control, bool inside);

    std::vector<std::string> GridTitles() const;

    std::unique_ptr<TForm1> form;
    struct Box {
        std::string text;
        MessageKind kind;
    };
    std::vector<Box> boxes;
    std::vector<std::string> opened; // addresses handed to the shell
};

// A window test whose suite shares one sample catalogue service.
class ServiceWindowTest : public CatalogueWindowTest {
protected:
    static void SetUpTestSuite() { service = new RecordingService(); }
    static void TearDownTestSuite()
    {
        delete service;
        service = nullptr;
    }

    static RecordingService* service;
};

// In a death test's child: the fatal box prints this line before the process ends.
inline constexpr const char* kFatalBoxMarker = "fatal box: network failure";
void ReportFatalBoxOnStderr();

// GBK texts the tests compare with.
std::string Gbk(const char16_t* text);

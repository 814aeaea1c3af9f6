#pragma once

#include "app/main_window.h"
#include "catalogue/catalogue.h"
#include "tests/server/ServerTestSupport.h"

#include <QPoint>

#include <gtest/gtest.h>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

// The sample catalogue service on a free loopback port, in this process,
// recording the target of every request it receives.
class RecordingService {
public:
    RecordingService();

    std::string BaseUrl() const;
    // Targets below /kestrid/, e.g. "idf.php?cq=50200001&cp=96", in arrival order.
    std::vector<std::string> Requests() const;
    // Only the catalogue documents (ide.php, idf.php).
    std::vector<std::string> CatalogueRequests() const;
    int PictureRequests() const;
    void ClearRequests();

private:
    mutable std::mutex mutex_;
    std::vector<std::string> requests_;
    RunningService service_; // last: it logs into the members above until it stops
};

// Form1 against a catalogue service, on the offscreen platform, with message
// boxes and the shell intercepted.
class CatalogueWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Creates the window and runs its creation handler against base_url.
    void OpenWindow(const std::string& base_url);

    // Simulated input.
    void PressRow(int row, Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers modifiers = {});
    void Click(TControl& control);
    // Moves a drop-down's current item to index with arrow keys, one step at a time.
    void ChooseWithKeys(TComboBox& list, int index);

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

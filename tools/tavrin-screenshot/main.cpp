// Pictures of the window.
//   tavrin-screenshot render OUT.png [BASE_URL [ROW]]
//                                      starts the window as the program does, on
//                                      Qt's offscreen platform unless one is set,
//                                      against BASE_URL when given (a catalogue
//                                      service's ".../kestrid/"), presses ROW of
//                                      the grid when given, and saves the client area
//   tavrin-screenshot screen OUT.png   waits until the current display shows
//                                      something and saves the whole screen
#include "app/main_window.h"
#include "catalogue/catalogue.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

namespace {

constexpr int kScreenPolls = 200;
constexpr auto kPollInterval = std::chrono::milliseconds(100);

int render(const std::string& out, const char* base_url, const char* row)
{
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    if (base_url != nullptr)
        CatalogueBaseUrl = base_url;
    Application->Initialize();
    Application->SetTitle(AppTitle);
    Application->CreateForm(Form1);
    Form1->Show();
    Application->ProcessMessages();
    if (row != nullptr) {
        // As a left press on that row would.
        Form1->gridshowinfo->SetRow(std::atoi(row));
        gridshowinfoMouseDown(*Form1);
        Application->ProcessMessages();
    }
    if (!Form1->SaveImage(out)) {
        std::fprintf(stderr, "cannot write %s\n", out.c_str());
        return 1;
    }
    return 0;
}

int screen(const std::string& out)
{
    Application->Initialize();
    for (int i = 0; i < kScreenPolls && Application->ScreenIsBlank(); ++i)
        std::this_thread::sleep_for(kPollInterval);
    // Give the window a moment to finish drawing after it first appeared.
    std::this_thread::sleep_for(kPollInterval * 5);
    if (!Application->SaveScreenImage(out)) {
        std::fprintf(stderr, "cannot write %s\n", out.c_str());
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string verb = argc >= 3 ? argv[1] : "";
    if (verb == "render" && argc <= 5)
        return render(argv[2], argc > 3 ? argv[3] : nullptr, argc > 4 ? argv[4] : nullptr);
    if (verb == "screen")
        return screen(argv[2]);
    std::fprintf(stderr, "usage: tavrin-screenshot render OUT.png [BASE_URL [ROW]] | screen OUT.png\n");
    return 2;
}

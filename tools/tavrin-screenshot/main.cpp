// Pictures of the window.
//   tavrin-screenshot render OUT.png   starts the window as the program does, on
//                                      Qt's offscreen platform unless one is set,
//                                      and saves its client area
//   tavrin-screenshot screen OUT.png   waits until the current display shows
//                                      something and saves the whole screen
#include "app/main_window.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

namespace {

constexpr int kScreenPolls = 200;
constexpr auto kPollInterval = std::chrono::milliseconds(100);

int render(const std::string& out)
{
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    Application->Initialize();
    Application->SetTitle(kProgramTitle);
    Application->CreateForm(Form1);
    Form1->Show();
    Application->ProcessMessages();
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
    const std::string verb = argc == 3 ? argv[1] : "";
    if (verb == "render")
        return render(argv[2]);
    if (verb == "screen")
        return screen(argv[2]);
    std::fprintf(stderr, "usage: tavrin-screenshot render|screen OUT.png\n");
    return 2;
}

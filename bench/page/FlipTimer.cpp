// Page flips of the real window as its user meets them: the window shown,
// the first press made, then each flip from the handler's start until the
// window has handled it and painted (its message queue empty), against a
// catalogue service at BASE_URL. Prints one line a flip, "even MS" or
// "odd MS"; the same program on both backends, so the Linux and Windows
// figures come from one procedure.
//   page_flip_timer BASE_URL FLIPS
#include "app/main_window.h"
#include "catalogue/catalogue.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

// The subcategory of 310 products: six full batches before the last.
const std::string kSubcategory = "50200010";
constexpr int kFullBatchPages = 12;

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: page_flip_timer BASE_URL FLIPS\n");
        return 2;
    }
    const int flips = std::atoi(argv[2]);
    Application->Initialize();
    Application->SetTitle(AppTitle);
    CatalogueBaseUrl = argv[1];
    auto form = std::make_unique<TForm1>();
    form->DoCreate();
    form->Show();
    Application->ProcessMessages();
    // The first press: from then on every page downloads all its pictures.
    form->gridshowinfo->SetRow(0);
    gridshowinfoMouseDown(*form);
    Application->ProcessMessages();
    for (int i = 1; i <= flips; ++i) {
        const int page = i % kFullBatchPages;
        const auto start = std::chrono::steady_clock::now();
        ShowProductPage(*form, *form->NxHTTP1, kSubcategory, page, *form->gridshowinfo);
        Application->ProcessMessages();
        const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
        std::printf("%s %.2f\n", page % 2 == 0 ? "even" : "odd", took.count());
        std::fflush(stdout);
    }
    return 0;
}

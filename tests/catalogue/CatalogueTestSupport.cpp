#include "tests/catalogue/CatalogueTestSupport.h"

#include "catalogue/CatalogueRequests.h"
#include "platform/CodePage.h"
#include "platform/Shell.h"

#include <cstdio>

RecordingService* ServiceWindowTest::service = nullptr;

std::vector<std::string> RecordingService::CatalogueRequests() const
{
    std::vector<std::string> documents;
    for (const std::string& target : Requests())
        if (target.rfind("ide.php", 0) == 0 || target.rfind("idf.php", 0) == 0)
            documents.push_back(target);
    return documents;
}

int RecordingService::PictureRequests() const
{
    int count = 0;
    for (const std::string& target : Requests())
        count += target.rfind("pic/", 0) == 0 ? 1 : 0;
    return count;
}

void CatalogueWindowTest::SetUp()
{
    StartWindowSystem();
    Application->SetTitle(AppTitle);
    Application->MessageBoxHook = [this](const std::string& text, const std::string&, MessageKind kind) {
        boxes.push_back({text, kind});
    };
    SetShellOpenHook([this](const std::string& address) { opened.push_back(address); });
    ResetCatalogueState();
}

void CatalogueWindowTest::TearDown()
{
    form.reset();
    Application->MessageBoxHook = nullptr;
    SetShellOpenHook(nullptr);
    ResetCatalogueState();
}

void CatalogueWindowTest::OpenWindow(const std::string& base_url)
{
    CatalogueBaseUrl = base_url;
    form = std::make_unique<TForm1>();
    form->DoCreate();
    form->Show();
    Application->ProcessMessages();
}

std::vector<std::string> CatalogueWindowTest::GridTitles() const
{
    std::vector<std::string> titles;
    for (int r = 0; r < form->gridshowinfo->RowCount(); ++r)
        titles.push_back(form->gridshowinfo->Cells(1, r));
    return titles;
}

void ReportFatalBoxOnStderr()
{
    Application->MessageBoxHook = [](const std::string& text, const std::string&, MessageKind kind) {
        if (kind == MessageKind::Fatal && text == NetworkFailureText)
            std::fprintf(stderr, "%s\n", kFatalBoxMarker);
    };
}

std::string Gbk(const char16_t* text)
{
    return WideToAnsi(text);
}

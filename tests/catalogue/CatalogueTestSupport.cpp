#include "tests/catalogue/CatalogueTestSupport.h"

#include "catalogue/CatalogueRequests.h"
#include "platform/CodePage.h"
#include "platform/Shell.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QTableWidget>
#include <QTest>
#include <QWidget>

#include <cstdio>

RecordingService::RecordingService()
    : service_([this](const std::string&, const std::string& target) {
          std::lock_guard lock(mutex_);
          const std::string prefix = "/kestrid/";
          requests_.push_back(target.rfind(prefix, 0) == 0 ? target.substr(prefix.size()) : target);
      })
{
}

RecordingService* ServiceWindowTest::service = nullptr;

std::string RecordingService::BaseUrl() const
{
    return "http://" + service_.Host() + "/kestrid/";
}

std::vector<std::string> RecordingService::Requests() const
{
    std::lock_guard lock(mutex_);
    return requests_;
}

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

void RecordingService::ClearRequests()
{
    std::lock_guard lock(mutex_);
    requests_.clear();
}

void CatalogueWindowTest::SetUp()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    Application->Initialize();
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

void CatalogueWindowTest::PressRow(int row, Qt::MouseButton button, Qt::KeyboardModifiers modifiers)
{
    auto* table = static_cast<QTableWidget*>(form->gridshowinfo->Widget());
    const QPoint at = table->visualRect(table->model()->index(row, 1)).center();
    QTest::mousePress(table->viewport(), button, modifiers, at);
    QTest::mouseRelease(table->viewport(), button, modifiers, at);
}

void CatalogueWindowTest::Click(TControl& control)
{
    QTest::mouseClick(control.Widget(), Qt::LeftButton, {}, QPoint(2, 2));
}

void CatalogueWindowTest::ChooseWithKeys(TComboBox& list, int index)
{
    QWidget* widget = list.Widget();
    widget->setFocus();
    while (list.ItemIndex() != index) {
        const int before = list.ItemIndex();
        QTest::keyClick(widget, before < index ? Qt::Key_Down : Qt::Key_Up);
        ASSERT_NE(list.ItemIndex(), before) << "the list did not move";
    }
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

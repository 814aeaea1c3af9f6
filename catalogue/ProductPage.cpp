#include "catalogue/catalogue.h"

#include "catalogue/DocumentReading.h"
#include "json/json.h"
#include "platform/Shell.h"
#include "ui/ui.h"

std::string ExtractItemId(const std::string& url)
{
    const size_t marker = url.find(ItemIdMarker);
    if (marker == std::string::npos)
        return {};
    size_t end = marker + ItemIdMarker.size();
    const size_t start = end;
    while (end < url.size() && url[end] >= '0' && url[end] <= '9')
        ++end;
    return url.substr(start, end - start);
}

void OpenProductPage(TForm1Controls& Form1)
{
    const int32_t row = Form1.gridshowinfo->Row();
    TQvJSONbase* product = BatchItemAt(row + FirstItemOfPage(CurrentPage));
    const std::string id = ExtractItemId(MemberText(product, "detail_url"));
    ShellOpen(CatalogueBaseUrl + "index.php?cid=" + id);
}

void Image1Click(TForm1Controls& Form1)
{
    OpenProductPage(Form1);
}

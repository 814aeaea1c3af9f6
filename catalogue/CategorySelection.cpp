#include "catalogue/catalogue.h"

#include "catalogue/CatalogueRequests.h"
#include "catalogue/DocumentReading.h"
#include "json/json.h"
#include "ui/ui.h"

namespace {

const std::string TopCategoriesPath = "ide.php?cq=50100982";
const std::string CategoryPathPrefix = "ide.php?cq=";

} // namespace

void FormCreate(TForm1Controls& Form1)
{
    TNxHTTP& client = *Form1.NxHTTP1;

    std::shared_ptr<TQvJSONbase> categories = FetchLastMemberValue(client, TopCategoriesPath);
    FillCategoryList(categories.get(), *Form1.productselect, CategoryIds);
    Form1.productselect->SetItemIndex(0);

    std::shared_ptr<TQvJSONbase> subcategories =
        FetchLastMemberValue(client, CategoryPathPrefix + IdSlot(CategoryIds, 1));
    FillCategoryList(subcategories.get(), *Form1.subproductlist, SubcategoryIds);
    Form1.subproductlist->SetItemIndex(0);

    ShowProductPage(Form1, client, IdSlot(SubcategoryIds, 1), CurrentPage, *Form1.gridshowinfo);

    Form1.ProgressBar1->SetVisible(false);
    Form1.Form->SetCaption(AppTitle);
}

void productselectChange(TForm1Controls& Form1)
{
    SubcategoryIds.clear();
    Form1.subproductlist->Items().Clear();

    const int64_t position = Form1.productselect->ItemIndex();
    std::shared_ptr<TQvJSONbase> subcategories =
        FetchLastMemberValue(*Form1.NxHTTP1, CategoryPathPrefix + IdSlot(CategoryIds, position + 1));
    FillCategoryList(subcategories.get(), *Form1.subproductlist, SubcategoryIds);
    Form1.subproductlist->SetItemIndex(0);

    ShowProductPage(Form1, *Form1.NxHTTP1, IdSlot(SubcategoryIds, 1), 0, *Form1.gridshowinfo);
}

void subproductlistChange(TForm1Controls& Form1)
{
    const int64_t position = Form1.subproductlist->ItemIndex();
    ShowProductPage(Form1, *Form1.NxHTTP1, IdSlot(SubcategoryIds, position + 1), 0, *Form1.gridshowinfo);
}

#include "catalogue/catalogue.h"

#include "base/IntegerText.h"
#include "catalogue/CatalogueErrors.h"
#include "catalogue/CatalogueRequests.h"
#include "catalogue/DocumentReading.h"
#include "json/json.h"
#include "ui/ui.h"

namespace {

constexpr int64_t ProductsPerBatch = 48;

// Requests the batch that even page `page` opens and makes it the batch in
// memory. Without a product container the document is still kept as
// BatchDocument while BatchItems stays the previous batch.
void RequestBatch(TNxHTTP& client, const std::string& subcategoryId, int32_t page)
{
    const std::string path =
        "idf.php?cq=" + subcategoryId + "&cp=" + IntToStr(static_cast<int64_t>(page) * ProductsPerBatch);
    BatchDocument = FetchCatalogueDocument(client, path);
    TQvJSONbase* container = MemberValueAt(BatchDocument.get(), 4, "product container");
    auto* items = JsonAs<TQvJSONlist>(MemberValueAt(container, 0, "product list"));
    if (items == nullptr)
        throw ECatalogueData::Missing("product list");
    BatchItems = ShareInto(BatchDocument, items);
    BatchSubcategoryId = subcategoryId;
    BatchPage = page;
}

// "total_page" of the batch document as a whole number.
int64_t BatchCount()
{
    TQvJSONbase* value = BatchDocument ? BatchDocument->ValueByName(u"total_page") : nullptr;
    if (value == nullptr)
        throw ECatalogueData::Missing("member \"total_page\"");
    return StrToInt(VariantToText(value->AsVariant()));
}

} // namespace

void ShowProductPage(TForm1Controls& Form1, TNxHTTP& client, const std::string& subcategoryId, int32_t page,
                     TStringGrid& grid)
{
    try {
        if (page % 2 == 0) {
            RequestBatch(client, subcategoryId, page);
        } else if (BatchPage != page - 1 || BatchSubcategoryId != subcategoryId) {
            // Reached with "<<" from the page after it: the batch in memory is
            // the later page's, so fetch this page's own batch first.
            RequestBatch(client, subcategoryId, page - 1);
        }
        if (!BatchItems)
            throw ECatalogueData::Missing("product list");
        const int32_t count = BatchItems->ChildCount();
        const int32_t half = count / 2;
        const int32_t first = page % 2 == 0 ? 0 : half;
        const int32_t last = page % 2 == 0 ? half - 1 : count - 1;

        TQvJSONbase* total = BatchDocument ? BatchDocument->ValueByName(u"total_results") : nullptr;
        if (total == nullptr)
            throw ECatalogueData::Missing("member \"total_results\"");
        Form1.lbltotalcount->SetCaption(VariantToTextOrEmpty(total->AsVariant()));

        const int64_t pages = 2 * BatchCount();
        Form1.lblpagecount->SetCaption(IntToStr(static_cast<int64_t>(page) + 1) + "/" + IntToStr(pages));

        CurrentPage = page;

        const bool last_page = page != 0 && page == 2 * BatchCount() - 1;
        Form1.btnpre->SetEnabled(page != 0);
        Form1.btnnext->SetEnabled(page == 0 || !last_page);

        grid.SetRowCount(0);
        // The row that remains must not show another page's product when
        // this page has none.
        for (int col = 0; col < grid.ColCount(); ++col)
            grid.SetCells(col, 0, "");
        for (int32_t e = first; e <= last; ++e) {
            const int32_t row = e - first;
            grid.SetRowCount(grid.RowCount() + 1);
            grid.SetCells(0, row, IntToStr(row + 1));
            grid.SetCells(1, row, MemberText(BatchItems->ChildAt(e), "title"));
        }
        grid.SetRowCount(grid.RowCount() - 1);

        DownloadPagePictures(Form1, client, BatchItems.get(), page);
        if (TQvJSONbase* product = BatchItems->ChildAt(first))
            ShowProductDetail(Form1, product, 1, 0);
        else
            ClearProductDetail(Form1);
    } catch (const std::exception&) {
        // The page stops at the failing step and keeps what was done.
    }
}

void btnpreClick(TForm1Controls& Form1)
{
    const int64_t position = Form1.subproductlist->ItemIndex();
    ShowProductPage(Form1, *Form1.NxHTTP1, IdSlot(SubcategoryIds, position + 1), CurrentPage - 1,
                    *Form1.gridshowinfo);
}

void btnnextClick(TForm1Controls& Form1)
{
    const int64_t position = Form1.subproductlist->ItemIndex();
    ShowProductPage(Form1, *Form1.NxHTTP1, IdSlot(SubcategoryIds, position + 1), CurrentPage + 1,
                    *Form1.gridshowinfo);
}

void gridshowinfoDrawCell(TForm1Controls&)
{
    // The grid draws its cell texts itself.
}

void gridshowinfoSelectCell(TForm1Controls&, bool& canSelect)
{
    canSelect = true;
}

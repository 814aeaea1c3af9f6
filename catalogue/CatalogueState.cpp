#include "catalogue/CatalogueState.h"

#include "base/TMemoryStream.h"
#include "json/json.h"

#ifndef TAVRIN_CATALOGUE_HOST
#define TAVRIN_CATALOGUE_HOST "localhost"
#endif

std::string CatalogueBaseUrl = "http://" TAVRIN_CATALOGUE_HOST "/kestrid/";
const std::string ItemIdMarker = "?id=";
const std::string AppTitle = "\xCC\xD8\xC2\xF4\xC9\xCC\xC6\xB7Tavrin"; // 特卖商品Tavrin

int32_t CurrentPage = 0;
bool StopPictureDownload = true;
bool PicturesFetched = false;
std::vector<std::string> CategoryIds;
std::vector<std::string> SubcategoryIds;
std::shared_ptr<TQvJSONobject> LastDocument;
std::shared_ptr<TQvJSONobject> BatchDocument;
std::shared_ptr<TQvJSONlist> BatchItems;
std::string BatchSubcategoryId;
int32_t BatchPage = -1;
std::unique_ptr<TMemoryStream> PictureStore;
std::vector<int32_t> PictureSizes;

void ResetCatalogueState()
{
    CatalogueBaseUrl = "http://" TAVRIN_CATALOGUE_HOST "/kestrid/";
    CurrentPage = 0;
    StopPictureDownload = true;
    PicturesFetched = false;
    CategoryIds.clear();
    SubcategoryIds.clear();
    LastDocument.reset();
    BatchDocument.reset();
    BatchItems.reset();
    BatchSubcategoryId.clear();
    BatchPage = -1;
    PictureStore.reset();
    PictureSizes.clear();
}

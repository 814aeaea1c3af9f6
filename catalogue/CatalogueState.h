#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TMemoryStream;
class TQvJSONlist;
class TQvJSONobject;

// The catalogue's state. It lives for the whole process; documents are held
// by shared ownership, so a document lives exactly as long as one of these
// refers to it or into it.

// "http://<catalogue host>/kestrid/": prefix of every request and product page.
extern std::string CatalogueBaseUrl;
// Marker after which a detail URL carries the item id.
extern const std::string ItemIdMarker;
// The window title; the caption returns to it after start-up and every download.
extern const std::string AppTitle;

// Zero-based screen page on display.
extern int32_t CurrentPage;
// True until the first press in the grid: download runs stop after one picture.
extern bool StopPictureDownload;
// True once the first press has downloaded the whole page.
extern bool PicturesFetched;

// Slot k (k >= 1) holds the id of list item k - 1; slot 0 stays empty.
extern std::vector<std::string> CategoryIds;
extern std::vector<std::string> SubcategoryIds;

// Root of the last document fetched (none after an answer that did not parse).
extern std::shared_ptr<TQvJSONobject> LastDocument;
// Root of the last product batch, and its product list.
extern std::shared_ptr<TQvJSONobject> BatchDocument;
extern std::shared_ptr<TQvJSONlist> BatchItems;
// Which batch BatchItems is: its subcategory and the even page that requested
// it (-1: none). An odd page whose batch is not in memory requests it.
extern std::string BatchSubcategoryId;
extern int32_t BatchPage;

// The current page's pictures, concatenated, and the size of each.
extern std::unique_ptr<TMemoryStream> PictureStore;
extern std::vector<int32_t> PictureSizes;

// Back to the start values (tests run several windows in one process).
void ResetCatalogueState();

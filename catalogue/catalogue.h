#pragma once

// Catalogue browsing: the requests to the catalogue service and everything the
// main window does with their answers. Every routine takes the window's
// controls; the handlers are entered through the window's dispatcher.

#include "catalogue/CatalogueState.h"
#include "catalogue/TForm1Controls.h"

#include <cstdint>
#include <string>

class TNxHTTP;
class TQvJSONbase;
class TStringGrid;

// Start-up, after the grid's column widths: both lists, page 0, the detail
// panel; then the progress bar is hidden and the caption restored.
void FormCreate(TForm1Controls& Form1);
void productselectChange(TForm1Controls& Form1);
void subproductlistChange(TForm1Controls& Form1);

// Shows one screen page. Catches every error of its own work and stops at the
// failing step; only a failed catalogue request ends the program.
void ShowProductPage(TForm1Controls& Form1, TNxHTTP& client, const std::string& subcategoryId, int32_t page,
                     TStringGrid& grid);
void btnpreClick(TForm1Controls& Form1);
void btnnextClick(TForm1Controls& Form1);
void gridshowinfoDrawCell(TForm1Controls& Form1);
void gridshowinfoSelectCell(TForm1Controls& Form1, bool& canSelect);

// The detail panel.
void gridshowinfoMouseDown(TForm1Controls& Form1);
void ShowProductDetail(TForm1Controls& Form1, TQvJSONbase* product, int64_t number, int32_t pictureSlot);
// Empties the panel (texts, picture, tag icons) for a page whose batch has no
// product to show.
void ClearProductDetail(TForm1Controls& Form1);
void ArrangeDetailBadges(TForm1Controls& Form1, const std::string& tagNew, const std::string& tagHot,
                         const std::string& tagLq);
void lbltitleMouseEnter(TForm1Controls& Form1);
void lbltitleMouseLeave(TForm1Controls& Form1);

// The picture store of the current page. Neither ever raises.
void DownloadPagePictures(TForm1Controls& Form1, TNxHTTP& client, TQvJSONbase* items, int32_t page);
void ShowStoredPicture(TForm1Controls& Form1, int32_t slot);

// The product page in the default browser.
void Image1Click(TForm1Controls& Form1);
void OpenProductPage(TForm1Controls& Form1);
std::string ExtractItemId(const std::string& url);

#pragma once

#include "catalogue/TForm1Controls.h"
#include "http/http_client.h"
#include "ui/ui.h"


// The one window of the program. The constructor creates every control in
// creation order (later ones lie above earlier ones) and binds the handlers.
class TForm1 : public TForm, public TForm1Controls {
public:
    TForm1();

    void FormCreate(TControl* Sender);
    void productselectChange(TControl* Sender);
    void subproductlistChange(TControl* Sender);
    void btnpreClick(TControl* Sender);
    void btnnextClick(TControl* Sender);
    void gridshowinfoMouseDown(TControl* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void gridshowinfoDrawCell(TControl* Sender, int ACol, int ARow, const TRect& Rect, TGridDrawState State);
    void gridshowinfoSelectCell(TControl* Sender, int ACol, int ARow, bool& CanSelect);
    void gridshowinfoRowMove(TControl* Sender);
    void gridshowinfoRowActivate(TControl* Sender);
    void Image1Click(TControl* Sender);
    void lbltitleMouseEnter(TControl* Sender);
    void lbltitleMouseLeave(TControl* Sender);

private:
    void CreateControls();
    void NameByCaptions();
    void BindHandlers();

    TNxHTTP http_;
};

extern TForm1* Form1;

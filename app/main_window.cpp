#include "app/main_window.h"

#include "app/WindowIcon.h"
#include "catalogue/catalogue.h"

#include <string>

TForm1* Form1 = nullptr;

namespace {

TFont font_of(const char* name, int height, TColor color, bool bold = false)
{
    TFont font;
    font.Name = name;
    font.Height = height;
    font.Color = color;
    font.Bold = bold;
    return font;
}

// Captions of the detail panel: Tahoma 14 px, bold and underlined, grey.
TFont caption_font()
{
    TFont font = font_of("Tahoma", 14, Colors::Grey, true);
    font.Underline = true;
    return font;
}

TLabel* label(TForm& form, TControl* parent, int left, int top, int width, int height, const std::string& caption)
{
    TLabel* l = form.Add<TLabel>(parent);
    l->SetBounds(left, top, width, height);
    l->SetCaption(caption);
    return l;
}

TLabel* label(TForm& form, int left, int top, int width, int height, const TFont& font, TColor color,
              const std::string& caption)
{
    TLabel* l = label(form, nullptr, left, top, width, height, caption);
    l->SetFont(font);
    l->SetColor(color);
    return l;
}

TImage* picture_box(TForm& form, int left, int top, int width, int height)
{
    TImage* image = form.Add<TImage>();
    image->SetBounds(left, top, width, height);
    image->SetCenter(true);
    image->SetProportional(true);
    image->SetAnchors(akLeftSide | akTopSide | akRightSide | akBottomSide);
    return image;
}

} // namespace

TForm1::TForm1()
{
    Form = this;
    NxHTTP1 = &http_;
    SetCaption(AppTitle);
    SetBounds(349, 220, 654, 485);
    SetClientSize(654, 485);
    SetFont(font_of("Tahoma", 11, Colors::WindowText));
    SetIcon(WindowIconFile());
    CreateControls();
    BindHandlers();
}

void TForm1::CreateControls()
{
    const TColor face = Colors::ButtonFace;
    const std::string zeros(67, '0');
    const std::string yuan = "\xD4\xAA";  // 元
    const std::string jian = "\xBC\xFE";  // 件

    Image1 = picture_box(*this, 8, 274, 187, 199);
    Image1->SetCursor(TCursor::HandPoint);

    lbltitle = label(*this, nullptr, 8, 248, 536, 16, zeros);
    lbltitle->SetFont(font_of("System", 16, Colors::Red, true));
    lbltitle->SetCursor(TCursor::HandPoint);

    monthvolume = label(*this, 267, 353, 28, 14, font_of("Tahoma", 12, Colors::Maroon), face, "1000");
    Label1 = label(*this, 209, 298, 35, 17, caption_font(), face, "\xBC\xDB\xB8\xF1:"); // 价格:

    TFont struck = font_of("Times New Roman", 16, Colors::Black, true);
    struck.StrikeOut = true;
    price = label(*this, 267, 298, 28, 19, struck, face, "69.5");

    Label3 = label(*this, 209, 352, 50, 17, caption_font(), face, "\xD4\xC2\xCF\xFA\xC1\xBF:"); // 月销量:
    Label4 = label(*this, 209, 325, 35, 17, caption_font(), face, "\xB4\xD9\xCF\xFA:");         // 促销:
    promotion_price = label(*this, 267, 316, 60, 32, font_of("Times New Roman", 29, Colors::Red, true), face, "1000");
    promotion_price->SetCursor(TCursor::HandPoint);
    Label2 = label(*this, 209, 273, 35, 17, caption_font(), face, "\xC6\xB7\xC5\xC6:"); // 品牌:
    brand_name = label(*this, 267, 273, 28, 14, font_of("Tahoma", 12, Colors::Red), face, "1000");
    brand_name->SetCursor(TCursor::HandPoint);
    Label5 = label(*this, 209, 379, 35, 17, caption_font(), face, "\xC8\xCB\xC6\xF8:"); // 人气:
    comment_num = label(*this, 267, 379, 40, 14, font_of("Tahoma", 12, Colors::Red), face, "1000" + jian);
    Label6 = label(*this, 335, 298, 15, 17, font_of("Tahoma", 14, Colors::Grey, true), face, yuan);
    Label7 = label(*this, 335, 325, 15, 17, font_of("Tahoma", 14, Colors::Red, true), face, yuan);
    Label8 = label(*this, 319, 379, 13, 14, font_of("Tahoma", 12, Colors::Red, true), face, yuan);

    Image2 = picture_box(*this, 207, 405, 75, 67);
    Image3 = picture_box(*this, 279, 405, 75, 67);
    Image4 = picture_box(*this, 352, 405, 75, 67);
    // Each box only ever shows its own badge: named by the badge's text.
    Image2->SetAccessibleName("\xD0\xC2\xC6\xB7"); // 新品
    Image3->SetAccessibleName("\xC8\xC8\xC2\xF4"); // 热卖
    Image4->SetAccessibleName("\xCF\xDE\xC1\xBF"); // 限量
    for (TImage* badge : {Image2, Image3, Image4})
        badge->SetScaling(TImageScaling::SmoothOnScaledScreens);

    Label9 = label(*this, 335, 352, 15, 17, font_of("Tahoma", 14, Colors::Grey, true), face, jian);

    Label10 = label(*this, nullptr, 8, 20, 68, 13, "\xC9\xCC\xC6\xB7\xB4\xF3\xB7\xD6\xC0\xE0:"); // 商品大分类:
    Label10->SetFont(font_of("Tahoma", 11, Colors::Maroon, true));
    Label11 = label(*this, nullptr, 214, 20, 68, 13, "\xC9\xCC\xC6\xB7\xD0\xA1\xB7\xD6\xC0\xE0:"); // 商品小分类:
    Label11->SetFont(font_of("Tahoma", 11, Colors::Maroon, true));
    Label14 = label(*this, nullptr, 411, 21, 52, 13, "\xCB\xD1\xCB\xF7\xBD\xE1\xB9\xFB:"); // 搜索结果:
    lbltotalcount = label(*this, nullptr, 465, 21, 36, 13, "5628" + jian);
    lbltotalcount->SetFont(font_of("Tahoma", 11, Colors::Red));

    const TFont list_font = font_of("Tahoma", 11, Colors::Blue, true);
    productselect = Add<TComboBox>();
    productselect->SetBounds(77, 15, 129, 21);
    productselect->SetFont(list_font);
    productselect->SetItemHeight(13);
    productselect->SetTabOrder(0);
    subproductlist = Add<TComboBox>();
    subproductlist->SetBounds(285, 15, 118, 21);
    subproductlist->SetFont(list_font);
    subproductlist->SetItemHeight(13);
    subproductlist->SetTabOrder(1);

    Panel1 = Add<TPanel>();
    Panel1->SetBounds(8, 44, 638, 193);
    Panel1->SetCaption("Panel1");
    Panel1->SetTabOrder(2);

    lblpagecount = label(*this, Panel1, 47, 7, 22, 13, "1/24");

    gridshowinfo = Add<TStringGrid>(Panel1);
    gridshowinfo->SetBounds(4, 24, 633, 169);
    gridshowinfo->SetDefaultColWidth(100);
    gridshowinfo->SetColCount(2);
    gridshowinfo->SetRowCount(1);
    gridshowinfo->SetDefaultRowHeight(20);
    gridshowinfo->SetGridLineWidth(2);
    gridshowinfo->SetTabOrder(0);

    btnnext = Add<TButton>(Panel1);
    btnnext->SetBounds(77, 0, 33, 22);
    btnnext->SetCaption(">>");
    btnnext->SetHint("\xBA\xF3\xD2\xBB\xD2\xB3"); // 后一页
    btnnext->SetTabOrder(1);

    ProgressBar1 = Add<TProgressBar>(Panel1);
    ProgressBar1->SetBounds(144, 96, 345, 17);
    ProgressBar1->SetEnabled(false);
    ProgressBar1->SetStep(1);
    ProgressBar1->SetTabOrder(2);

    btnpre = Add<TButton>();
    btnpre->SetBounds(15, 44, 33, 22);
    btnpre->SetCaption("<<");
    btnpre->SetHint("\xC7\xB0\xD2\xBB\xD2\xB3"); // 前一页
    btnpre->SetTabOrder(3);

    NameByCaptions();
}

// What a screen reader reads as each control's label, and the units read
// with their values.
void TForm1::NameByCaptions()
{
    productselect->SetCaptionLabel(Label10);
    subproductlist->SetCaptionLabel(Label11);
    gridshowinfo->SetCaptionLabel(Label14);
    lbltotalcount->SetCaptionLabel(Label14);
    brand_name->SetCaptionLabel(Label2);
    price->SetCaptionLabel(Label1);
    price->SetUnitLabel(Label6);
    promotion_price->SetCaptionLabel(Label4);
    promotion_price->SetUnitLabel(Label7);
    monthvolume->SetCaptionLabel(Label3);
    monthvolume->SetUnitLabel(Label9);
    comment_num->SetCaptionLabel(Label5);
    Label8->SetCaptionLabel(Label5); // the popularity's trend
}

void TForm1::BindHandlers()
{
    OnCreate = [this](TControl* s) { FormCreate(s); };
    productselect->OnChange = [this](TControl* s) { productselectChange(s); };
    subproductlist->OnChange = [this](TControl* s) { subproductlistChange(s); };
    btnpre->OnClick = [this](TControl* s) { btnpreClick(s); };
    btnnext->OnClick = [this](TControl* s) { btnnextClick(s); };
    gridshowinfo->OnMouseDown = [this](TControl* s, TMouseButton b, TShiftState sh, int x, int y) {
        gridshowinfoMouseDown(s, b, sh, x, y);
    };
    gridshowinfo->OnDrawCell = [this](TControl* s, int c, int r, const TRect& rect, TGridDrawState st) {
        gridshowinfoDrawCell(s, c, r, rect, st);
    };
    gridshowinfo->OnSelectCell = [this](TControl* s, int c, int r, bool& can) { gridshowinfoSelectCell(s, c, r, can); };
    gridshowinfo->OnRowMove = [this](TControl* s) { gridshowinfoRowMove(s); };
    gridshowinfo->OnRowActivate = [this](TControl* s) { gridshowinfoRowActivate(s); };
    const TNotifyEvent open_page = [this](TControl* s) { Image1Click(s); };
    Image1->OnClick = open_page;
    lbltitle->OnClick = open_page;
    promotion_price->OnClick = open_page;
    brand_name->OnClick = open_page;
    lbltitle->OnMouseEnter = [this](TControl* s) { lbltitleMouseEnter(s); };
    lbltitle->OnMouseLeave = [this](TControl* s) { lbltitleMouseLeave(s); };
}

void TForm1::FormCreate(TControl*)
{
    gridshowinfo->SetColWidths(0, 35);
    gridshowinfo->SetColWidths(1, 575);
    ::FormCreate(*this);
}

// The handlers' work is the catalogue's; the window only routes to it.
void TForm1::productselectChange(TControl*) { ::productselectChange(*this); }
void TForm1::subproductlistChange(TControl*) { ::subproductlistChange(*this); }
void TForm1::btnpreClick(TControl*) { ::btnpreClick(*this); }
void TForm1::btnnextClick(TControl*) { ::btnnextClick(*this); }
void TForm1::gridshowinfoMouseDown(TControl*, TMouseButton, TShiftState, int, int) { ::gridshowinfoMouseDown(*this); }
void TForm1::gridshowinfoDrawCell(TControl*, int, int, const TRect&, TGridDrawState) { ::gridshowinfoDrawCell(*this); }
void TForm1::gridshowinfoSelectCell(TControl*, int, int, bool& CanSelect) { ::gridshowinfoSelectCell(*this, CanSelect); }
void TForm1::Image1Click(TControl*) { ::Image1Click(*this); }
// The keyboard's ways to the same two paths: a row reached by a key shows its
// product as a press on it would, Return opens its page as a click would.
void TForm1::gridshowinfoRowMove(TControl*) { ::gridshowinfoMouseDown(*this); }
void TForm1::gridshowinfoRowActivate(TControl*) { ::Image1Click(*this); }
void TForm1::lbltitleMouseEnter(TControl*) { ::lbltitleMouseEnter(*this); }
void TForm1::lbltitleMouseLeave(TControl*) { ::lbltitleMouseLeave(*this); }

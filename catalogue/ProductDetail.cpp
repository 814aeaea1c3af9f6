#include "catalogue/catalogue.h"

#include "base/IntegerText.h"
#include "catalogue/DocumentReading.h"
#include "json/json.h"
#include "platform/FileSystem.h"
#include "ui/ui.h"

namespace {

const std::string TenThousand = "\xCD\xF2"; // 万
const std::string ArrowUp = "\xA1\xFC";     // ↑
const std::string ArrowRight = "\xA1\xFA";  // →
constexpr int UnitGap = 5;
constexpr int FirstBadgeLeft = 207;
constexpr int BadgeStep = 67;

void ShowDetailTexts(TForm1Controls& Form1, TQvJSONbase* product, int64_t number)
{
    const std::string title = MemberText(product, "title");
    Form1.lbltitle->SetCaption(IntToStr(number) + ":" + title);
    Form1.Image1->SetAccessibleName(title);
    Form1.price->SetCaption(MemberText(product, "price"));
    Form1.promotion_price->SetCaption(MemberText(product, "promotion_price"));
    Form1.monthvolume->SetCaption(MemberText(product, "volume"));
    Form1.comment_num->SetCaption(MemberText(product, "comment_num"));
    Form1.brand_name->SetCaption(MemberText(product, "brand_name"));
}

void ShowDetailPictureAndBadges(TForm1Controls& Form1, TQvJSONbase* product, int32_t pictureSlot)
{
    ShowStoredPicture(Form1, pictureSlot);
    ArrangeDetailBadges(Form1, MemberText(product, "tag_new"), MemberText(product, "tag_hot"),
                        MemberText(product, "tag_lq"));
}

void PlaceAfter(TControl& unit, const TControl& value)
{
    unit.SetLeft(value.Left() + value.Width() + UnitGap);
}

void SetUnderline(TLabel& label, bool underline)
{
    TFont font = label.Font();
    font.Underline = underline;
    label.SetFont(font);
}

} // namespace

void ShowProductDetail(TForm1Controls& Form1, TQvJSONbase* product, int64_t number, int32_t pictureSlot)
{
    ShowDetailTexts(Form1, product, number);
    ShowDetailPictureAndBadges(Form1, product, pictureSlot);
}

void ClearProductDetail(TForm1Controls& Form1)
{
    for (TLabel* label : {Form1.lbltitle, Form1.price, Form1.promotion_price, Form1.monthvolume, Form1.comment_num,
                          Form1.brand_name, Form1.Label8})
        label->SetCaption("");
    PlaceAfter(*Form1.Label6, *Form1.price);
    PlaceAfter(*Form1.Label7, *Form1.promotion_price);
    PlaceAfter(*Form1.Label8, *Form1.comment_num);
    PlaceAfter(*Form1.Label9, *Form1.monthvolume);
    for (TImage* box : {Form1.Image1, Form1.Image2, Form1.Image3, Form1.Image4})
        box->Picture().Clear();
}

void ArrangeDetailBadges(TForm1Controls& Form1, const std::string& tagNew, const std::string& tagHot,
                         const std::string& tagLq)
{
    PlaceAfter(*Form1.Label6, *Form1.price);
    PlaceAfter(*Form1.Label7, *Form1.promotion_price);
    PlaceAfter(*Form1.Label8, *Form1.comment_num);
    PlaceAfter(*Form1.Label9, *Form1.monthvolume);

    const std::string& popularity = Form1.comment_num->Caption();
    bool rising = true;
    if (popularity.find(TenThousand) == std::string::npos && popularity.find('.') == std::string::npos)
        rising = (static_cast<int64_t>(StrToInt(popularity)) + 219) % 9 != 0;
    TFont arrow_font = Form1.Label8->Font();
    arrow_font.Color = rising ? Colors::Red : Colors::Blue;
    Form1.Label8->SetCaption(rising ? ArrowUp : ArrowRight);
    Form1.Label8->SetFont(arrow_font);

    const std::string dir = ExecutableFolder();
    int left = FirstBadgeLeft;
    struct Badge {
        const std::string& tag;
        TImage* box;
        const char* file;
    } badges[] = {
        {tagNew, Form1.Image2, "res/xp.jpg"},
        {tagHot, Form1.Image3, "res/rm.jpg"},
        {tagLq, Form1.Image4, "res/xl.jpg"},
    };
    for (const Badge& badge : badges) {
        if (badge.tag.empty()) {
            badge.box->Picture().Clear();
            continue;
        }
        badge.box->Picture().LoadFromFile(dir + badge.file);
        badge.box->SetLeft(left);
        left += BadgeStep;
    }
}

void gridshowinfoMouseDown(TForm1Controls& Form1)
{
    const int32_t row = Form1.gridshowinfo->Row();
    TQvJSONbase* product = BatchItemAt(row + FirstItemOfPage(CurrentPage));
    ShowDetailTexts(Form1, product, static_cast<int64_t>(row) + 1);

    StopPictureDownload = false;
    if (!PicturesFetched) {
        DownloadPagePictures(Form1, *Form1.NxHTTP1, BatchItems.get(), CurrentPage);
        PicturesFetched = true;
    }
    ShowDetailPictureAndBadges(Form1, product, row);
}

void lbltitleMouseEnter(TForm1Controls& Form1)
{
    SetUnderline(*Form1.lbltitle, true);
}

void lbltitleMouseLeave(TForm1Controls& Form1)
{
    SetUnderline(*Form1.lbltitle, false);
}

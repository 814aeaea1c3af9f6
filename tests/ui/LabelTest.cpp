#include "platform/CodePage.h"
#include "tests/ui/UiTestSupport.h"

#include <QFontMetrics>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

int advance_of(const TLabel& label, const std::string& gbk)
{
    const std::u16string wide = AnsiToWide(gbk);
    return QFontMetrics(label.Widget()->font())
        .horizontalAdvance(QString::fromUtf16(wide.data(), static_cast<qsizetype>(wide.size())));
}

} // namespace

TEST(LabelAutoSize, WidthFollowsTheCaptionAtOnceWithTheLeftEdgeFixed)
{
    StartWindowSystem();
    TForm form;
    TLabel* label = form.Add<TLabel>();
    label->SetBounds(267, 298, 28, 19);
    for (const std::string caption : {"9.9", "1299.00", "\xD4\xAA\xD4\xAA\xD4\xAA", "", "69.5"}) {
        SCOPED_TRACE(caption);
        label->SetCaption(caption);
        EXPECT_EQ(label->Left(), 267);
        EXPECT_EQ(label->Top(), 298);
        EXPECT_EQ(label->Width(), advance_of(*label, caption));
        EXPECT_GE(label->Height(), QFontMetrics(label->Widget()->font()).height());
    }
}

TEST(LabelAutoSize, LongerTextPushesTheRightEdgeFurther)
{
    StartWindowSystem();
    TForm form;
    TLabel* label = form.Add<TLabel>();
    label->SetLeft(267);
    label->SetCaption("9.9");
    const int short_width = label->Width();
    label->SetCaption("1299.00");
    EXPECT_GT(label->Width(), short_width);
    label->SetCaption("9.9");
    EXPECT_EQ(label->Width(), short_width);
}

TEST(LabelAutoSize, FontChangeResizesAtOnce)
{
    StartWindowSystem();
    TForm form;
    TLabel* label = form.Add<TLabel>();
    label->SetCaption("1000");
    const int small_width = label->Width();
    const int small_height = label->Height();
    TFont big = label->Font();
    big.Height = 29;
    big.Bold = true;
    label->SetFont(big);
    EXPECT_GT(label->Width(), small_width);
    EXPECT_GT(label->Height(), small_height);
}

TEST(LabelAutoSize, UnderlineOnlyTogglesWithoutLosingBold)
{
    StartWindowSystem();
    TForm form;
    TLabel* label = form.Add<TLabel>();
    TFont font = label->Font();
    font.Bold = true;
    label->SetFont(font);
    font.Underline = true;
    label->SetFont(font);
    EXPECT_TRUE(label->Widget()->font().underline());
    EXPECT_TRUE(label->Widget()->font().bold());
}

TEST(LabelAutoSize, ShownCaptionIsTheGbkText)
{
    StartWindowSystem();
    TForm form;
    TLabel* label = form.Add<TLabel>();
    label->SetCaption("1000\xBC\xFE");
    EXPECT_EQ(label->Width(), QFontMetrics(label->Widget()->font()).horizontalAdvance(QString::fromUtf8("1000件")));
}

#include "tests/catalogue/CatalogueTestSupport.h"

#include "picture/FitRule.h"

#include <algorithm>

namespace {

class Stacking : public ServiceWindowTest {
protected:
    void SetUp() override
    {
        ServiceWindowTest::SetUp();
        OpenWindow(service->BaseUrl());
    }

    // A control's bounds in the form's client area.
    static TRect OnForm(const TControl& control)
    {
        int left = control.Left();
        int top = control.Top();
        for (const TControl* parent = control.Parent(); parent != nullptr && parent->Parent() != nullptr;
             parent = parent->Parent()) {
            left += parent->Left();
            top += parent->Top();
        }
        return {left, top, left + control.Width(), top + control.Height()};
    }
};

using Pick = TControl* (*)(TForm1&);
#define C(member) [](TForm1& f) -> TControl* { return f.member; }

struct Overlap {
    const char* name;
    Pick earlier;
    const char* grown; // the earlier control's new caption; nullptr: as laid out
    Pick later;
};

// Pairs the layout lets overlap, with the earlier control grown to its
// widest: the later control shows and takes the click there.
const Overlap kOverlaps[] = {
    {"the counter of 2^31 pages over >>", C(lblpagecount), "1/2147483648", C(btnnext)},
    {"a long price over its unit", C(price), "123456789.99", C(Label6)},
    {"a long promotion price over its unit", C(promotion_price), "123456789.99",
     C(Label7)},
    {"a long monthly sales over its unit", C(monthvolume), "2147483647", C(Label9)},
    {"a long popularity over its trend", C(comment_num), "2147483647\xBC\xFE", C(Label8)},
    {"the panel over <<", C(Panel1), nullptr, C(btnpre)},
    {"the grid over the progress bar", C(gridshowinfo), nullptr, C(ProgressBar1)},
};

TEST_F(Stacking, ALaterControlTakesTheClicksWhereAnEarlierOneGrewOverIt)
{
    for (const Overlap& pair : kOverlaps) {
        SCOPED_TRACE(pair.name);
        TControl& earlier = *pair.earlier(*form);
        TControl& later = *pair.later(*form);
        if (pair.grown != nullptr)
            static_cast<TLabel&>(earlier).SetCaption(pair.grown);
        // Shown and enabled (a disabled window takes no click anywhere): what
        // is asked is which of the two lies on top.
        later.SetVisible(true);
        later.SetEnabled(true);
        Application->ProcessMessages();

        const TRect a = OnForm(earlier);
        const TRect b = OnForm(later);
        const TRect both{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
                         std::min(a.Bottom, b.Bottom)};
        ASSERT_LT(both.Left, both.Right) << "they do not overlap";
        ASSERT_LT(both.Top, both.Bottom) << "they do not overlap";
        EXPECT_TRUE(TakesClickAt(later, (both.Left + both.Right) / 2 - b.Left, (both.Top + both.Bottom) / 2 - b.Top));
    }
}

TEST_F(Stacking, NextPageButtonWorksUnderAGrownCounter)
{
    form->lblpagecount->SetCaption("1/2147483648");
    service->ClearRequests();

    ClickAt(*form->btnnext, form->btnnext->Width() / 2, form->btnnext->Height() / 2);

    EXPECT_EQ(form->lblpagecount->Caption(), "2/6");
    EXPECT_GT(service->PictureRequests(), 0);
}

} // namespace

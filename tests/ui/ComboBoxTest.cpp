#include "tests/ui/UiTestSupport.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

class ComboChange : public ::testing::Test {
protected:
    void SetUp() override
    {
        StartWindowSystem();
        form = std::make_unique<TForm>();
        form->SetClientSize(300, 200);
        combo = form->Add<TComboBox>();
        combo->SetBounds(10, 10, 120, 21);
        combo->OnChange = [this](TControl*) { changes.push_back(combo->ItemIndex()); };
        form->Show();
        Application->ProcessMessages();
    }

    QComboBox& box() { return *static_cast<QComboBox*>(combo->Widget()); }

    std::unique_ptr<TForm> form;
    TComboBox* combo = nullptr;
    std::vector<int> changes;
};

} // namespace

TEST_F(ComboChange, ProgramChangesRunNoHandler)
{
    combo->Items().Add("a");
    combo->Items().Add("b");
    combo->Items().Add("c");
    combo->SetItemIndex(2);
    combo->SetItemIndex(0);
    combo->Items().Clear();
    EXPECT_TRUE(changes.empty());
}

TEST_F(ComboChange, AddingItemsLeavesNoItemCurrent)
{
    combo->Items().Add("\xC9\xCC\xC6\xB7");
    combo->Items().Add("two");
    EXPECT_EQ(combo->ItemIndex(), -1);
    EXPECT_EQ(combo->Items().Count(), 2);
    EXPECT_EQ(combo->Items().Strings(0), "\xC9\xCC\xC6\xB7");
    EXPECT_EQ(box().itemText(0), QString::fromUtf8("商品"));
}

TEST_F(ComboChange, EveryArrowStepOnTheClosedListRunsTheHandlerOnce)
{
    for (const char* name : {"a", "b", "c", "d"})
        combo->Items().Add(name);
    combo->SetItemIndex(0);
    box().setFocus();
    QTest::keyClick(&box(), Qt::Key_Down);
    QTest::keyClick(&box(), Qt::Key_Down);
    QTest::keyClick(&box(), Qt::Key_Up);
    EXPECT_EQ(changes, (std::vector<int>{1, 2, 1}));
}

TEST_F(ComboChange, ChoosingFromTheOpenListRunsTheHandler)
{
    for (const char* name : {"a", "b", "c"})
        combo->Items().Add(name);
    combo->SetItemIndex(0);
    box().showPopup();
    QAbstractItemView* view = box().view();
    const QPoint at = view->visualRect(view->model()->index(2, 0)).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    Application->ProcessMessages();
    EXPECT_EQ(changes, (std::vector<int>{2}));
}

TEST_F(ComboChange, ItemIndexOutsideTheListLeavesNoItem)
{
    combo->Items().Add("a");
    for (int index : {5, -7, 1}) {
        combo->SetItemIndex(index);
        EXPECT_EQ(combo->ItemIndex(), -1) << index;
    }
}

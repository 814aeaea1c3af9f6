#include "json/TQvBalTree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

// Checks the AA rules below a node and gives the names in order.
void check_aa_rules(const TQvBalTree& tree, const TQvBalNode* node, std::vector<std::u16string>& names)
{
    const TQvBalNode* bottom = tree.Bottom();
    if (node == bottom)
        return;
    EXPECT_EQ(node->Left->Level, node->Level - 1) << "left child one level down";
    EXPECT_TRUE(node->Right->Level == node->Level || node->Right->Level == node->Level - 1);
    EXPECT_LT(node->Right->Right->Level, node->Level) << "no two right links on one level";
    if (node->Left == bottom && node->Right == bottom) {
        EXPECT_EQ(node->Level, 1);
    }
    check_aa_rules(tree, node->Left, names);
    names.emplace_back(node->NodeName);
    check_aa_rules(tree, node->Right, names);
}

} // namespace

TEST(NameIndex, StaysBalancedAndFindsEveryNameInAnyInsertOrder)
{
    for (unsigned seed : {1u, 2u, 3u, 20240601u}) {
        std::vector<std::u16string> names;
        for (int i = 0; i < 300; ++i)
            names.push_back(u"member_" + std::u16string(1, static_cast<char16_t>(u'a' + i % 26)) +
                            std::u16string(static_cast<size_t>(i / 26), u'z'));
        std::mt19937 random(seed);
        std::shuffle(names.begin(), names.end(), random);
        TQvBalTree tree;
        for (size_t i = 0; i < names.size(); ++i)
            ASSERT_TRUE(tree.Insert(names[i], static_cast<int32_t>(i))) << "seed " << seed;
        std::vector<std::u16string> in_order;
        check_aa_rules(tree, tree.Root(), in_order);
        EXPECT_TRUE(std::is_sorted(in_order.begin(), in_order.end())) << "seed " << seed;
        EXPECT_EQ(in_order.size(), names.size());
        for (size_t i = 0; i < names.size(); ++i)
            EXPECT_EQ(tree.Find(names[i]), static_cast<int32_t>(i)) << "seed " << seed;
        EXPECT_EQ(tree.Bottom()->Level, 0) << "the sentinel never rises";
    }
}

TEST(NameIndex, RepeatedNameKeepsTheFirstKey)
{
    TQvBalTree tree;
    EXPECT_TRUE(tree.Insert(u"a", 0));
    EXPECT_TRUE(tree.Insert(u"b", 1));
    EXPECT_FALSE(tree.Insert(u"a", 2));
    EXPECT_EQ(tree.Find(u"a"), 0);
}

TEST(NameIndex, OrdersByUnsignedUnitsAndShorterPrefixFirst)
{
    TQvBalTree tree;
    const std::u16string names[] = {u"ab", u"a", u"\uFFFF", u"b", u"", u"a\u0001", u"\u4E2D"};
    for (size_t i = 0; i < std::size(names); ++i)
        tree.Insert(names[i], static_cast<int32_t>(i));
    std::vector<std::u16string> in_order;
    check_aa_rules(tree, tree.Root(), in_order);
    const std::vector<std::u16string> expected = {u"", u"a", u"a\u0001", u"ab", u"b", u"\u4E2D", u"\uFFFF"};
    EXPECT_EQ(in_order, expected);
    for (size_t i = 0; i < std::size(names); ++i)
        EXPECT_EQ(tree.Find(names[i]), static_cast<int32_t>(i));
}

TEST(NameIndex, ClearLeavesOnlyTheSentinelAndTheTreeUsableAgain)
{
    TQvBalTree tree;
    for (int i = 0; i < 50; ++i)
        tree.Insert(std::u16string(static_cast<size_t>(i + 1), u'x'), i); // long names need further blocks
    tree.Clear();
    EXPECT_EQ(tree.Root(), tree.Bottom());
    EXPECT_EQ(tree.Find(u"x"), -1);
    EXPECT_TRUE(tree.Insert(u"x", 9));
    EXPECT_EQ(tree.Find(u"x"), 9);
}

namespace {

// Same structure, levels, keys and names below the two nodes.
void expect_same_shape(const TQvBalTree& a, const TQvBalNode* x, const TQvBalTree& b, const TQvBalNode* y)
{
    ASSERT_EQ(x == a.Bottom(), y == b.Bottom());
    if (x == a.Bottom())
        return;
    EXPECT_EQ(x->Level, y->Level);
    EXPECT_EQ(x->Key, y->Key);
    EXPECT_EQ(x->NodeName, y->NodeName);
    expect_same_shape(a, x->Left, b, y->Left);
    expect_same_shape(a, x->Right, b, y->Right);
}

} // namespace

TEST(NameIndex, CopiedShapeIsTheTreeTheInsertsWouldMake)
{
    for (unsigned seed : {1u, 7u, 20240601u}) {
        std::mt19937 random(seed);
        std::vector<std::u16string> names;
        // Long common beginnings and repeated names.
        for (int i = 0; i < 120; ++i)
            names.push_back(u"promotion_" + std::u16string(1, static_cast<char16_t>(u'a' + random() % 20)) +
                            std::u16string(random() % 3, u'\u4E2D'));
        std::vector<std::u16string_view> views(names.begin(), names.end());
        TQvBalTree model;
        TQvBalTree inserted;
        for (size_t i = 0; i < names.size(); ++i) {
            model.Insert(names[i], static_cast<int32_t>(i));
            inserted.InsertLasting(views[i], static_cast<int32_t>(i));
        }
        TQvBalTree copied;
        copied.CopyShape(model, views);
        expect_same_shape(inserted, inserted.Root(), copied, copied.Root());
        for (const auto& name : names)
            EXPECT_EQ(copied.Find(name), model.Find(name)) << "seed " << seed;
    }
    TQvBalTree empty_model;
    TQvBalTree empty;
    empty.CopyShape(empty_model, {});
    EXPECT_EQ(empty.Root(), empty.Bottom());
}

TEST(NameIndex, LongNamesOrderByTheirFirstDifferingUnit)
{
    const std::u16string names[] = {u"abcdefgh\uFFFF", u"abcdefgh\u0001", u"abcdefg", u"abcdefgh", u"abcd\u4E2Dfgh",
                                    u"abcdefghijklmnop", u"abcdefghijklmnoa", u"abce"};
    TQvBalTree tree;
    for (size_t i = 0; i < std::size(names); ++i)
        tree.Insert(names[i], static_cast<int32_t>(i));
    std::vector<std::u16string> in_order;
    check_aa_rules(tree, tree.Root(), in_order);
    std::vector<std::u16string> expected(std::begin(names), std::end(names));
    std::sort(expected.begin(), expected.end()); // char16_t compares as unsigned
    EXPECT_EQ(in_order, expected);
    for (size_t i = 0; i < std::size(names); ++i)
        EXPECT_EQ(tree.Find(names[i]), static_cast<int32_t>(i));
}

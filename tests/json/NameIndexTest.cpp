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

#include "http/TNxHeaderList.h"

#include <gtest/gtest.h>

namespace {

TNxHeaderList list_of(std::initializer_list<const char*> lines)
{
    TNxHeaderList list;
    for (const char* line : lines)
        list.Add(line);
    return list;
}

TEST(HeaderList, LookupIgnoresCaseTrimsAndJoinsContinuations)
{
    TNxHeaderList list = list_of({"Content-Type:  text/plain ", "X-Long: one,", " two", "\tthree", "set-cookie: a=1",
                                  "Set-Cookie: b=2"});
    EXPECT_EQ(list.Values("content-type"), "text/plain");
    EXPECT_EQ(list.Values("X-LONG"), "one, two three");
    EXPECT_EQ(list.Values("Missing"), "");
    EXPECT_EQ(list.Extract("SET-COOKIE"), (std::vector<std::string>{"a=1", "b=2"}));
}

TEST(HeaderList, SetReplacesInPlaceTogetherWithContinuations)
{
    TNxHeaderList list = list_of({"A: 1", "B: x", " y", "C: 3"});
    list.SetValue("b", "new");
    EXPECT_EQ(list.Text(), "A: 1\r\nb: new\r\nC: 3\r\n");
    list.SetValue("D", "4");
    EXPECT_EQ(list.Line(3), "D: 4");
    list.SetValue("A", "");
    EXPECT_EQ(list.Text(), "b: new\r\nC: 3\r\nD: 4\r\n");
}

TEST(HeaderList, LongLineIsFoldedOutsideQuotesOnly)
{
    TNxHeaderList list(20);
    list.SetValue("X", "aaaa, bbbb \"c c c c c c c\" dddd");
    // No break inside the quoted text; every piece loses its trailing blanks.
    EXPECT_EQ(list.Text(), "X: aaaa, bbbb\r\n \"c c c c c c c\"\r\n dddd\r\n");
    EXPECT_EQ(list.Values("X"), "aaaa, bbbb \"c c c c c c c\" dddd");

    TNxHeaderList unbreakable(10);
    unbreakable.SetValue("Y", "zzzzzzzzzzzzzzzzzzzz");
    EXPECT_EQ(unbreakable.Count(), 1u);
}

} // namespace

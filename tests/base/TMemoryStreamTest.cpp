#include "base/StreamErrors.h"
#include "base/TMemoryStream.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string text_of(const TMemoryStream& s)
{
    return std::string(reinterpret_cast<const char*>(s.Memory()), static_cast<size_t>(s.Size()));
}

} // namespace

TEST(TMemoryStream, WritesAtThePositionAndGrows)
{
    TMemoryStream s;
    s.Write("hello", 5);
    s.SetPosition(1);
    s.Write("EY", 2);
    EXPECT_EQ(text_of(s), "hEYlo");
    s.Seek(0, TMemoryStream::SeekOrigin::End);
    s.Write("!!", 2);
    EXPECT_EQ(text_of(s), "hEYlo!!");
    EXPECT_EQ(s.Position(), 7);
}

TEST(TMemoryStream, ReadStopsAtTheEnd)
{
    TMemoryStream s;
    s.Write("abc", 3);
    s.SetPosition(1);
    char buffer[8] = {};
    EXPECT_EQ(s.Read(buffer, 8), 2);
    EXPECT_EQ(std::string(buffer, 2), "bc");
    EXPECT_EQ(s.Read(buffer, 8), 0);
}

TEST(TMemoryStream, SetSizeCutsThePositionBack)
{
    TMemoryStream s;
    s.Write("abcdef", 6);
    s.SetSize(2);
    EXPECT_EQ(s.Position(), 2);
    EXPECT_EQ(text_of(s), "ab");
}

TEST(TMemoryStream, CopyFromTakesARangeOrTheWholeSource)
{
    TMemoryStream store;
    store.Write("firstsecond", 11);

    TMemoryStream part;
    store.SetPosition(5);
    part.CopyFrom(store, 6);
    EXPECT_EQ(text_of(part), "second");

    TMemoryStream whole;
    store.SetPosition(7);
    whole.CopyFrom(store, 0);
    EXPECT_EQ(text_of(whole), "firstsecond");
}

TEST(TMemoryStream, CopyFromBeyondTheEndFailsAndWritesNothing)
{
    TMemoryStream store;
    store.Write("abc", 3);
    store.SetPosition(2);
    TMemoryStream out;
    EXPECT_THROW(out.CopyFrom(store, 5), EReadError);
    EXPECT_EQ(out.Size(), 0);
}

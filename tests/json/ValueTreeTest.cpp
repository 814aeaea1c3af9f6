#include "base/ConvertErrors.h"
#include "json/json.h"
#include "platform/CodePage.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

std::shared_ptr<TQvJSONobject> parse_object(std::string_view text)
{
    auto object = JsonAs<TQvJSONobject>(TQvJSON::ParseDocument(text));
    EXPECT_NE(object, nullptr) << text;
    return object;
}

TQvJSONbase* pair_value(TQvJSONbase* pair) { return JsonAs<TQvJSONobjectmethod>(pair)->PairValue(); }

std::string text_of(TQvJSONbase* value) { return VariantToTextOrEmpty(value->AsVariant()); }

// A value that counts how many of its kind are alive.
class CountedNull : public TQvJSONnull {
public:
    static inline int alive = 0;
    CountedNull() { ++alive; }
    ~CountedNull() override { --alive; }
};

} // namespace

TEST(ObjectLookup, RepeatedNameFindsTheFirstMemberButKeepsEveryPair)
{
    for (auto lookup : {TQvJSONobject::NameLookup::Indexed, TQvJSONobject::NameLookup::Scan}) {
        TQvJSONobject object(lookup);
        const char16_t* names[] = {u"a", u"b", u"a"};
        for (int i = 0; i < 3; ++i) {
            int32_t at = object.AppendChild(std::make_unique<TQvJSONobjectmethod>(
                names[i], std::make_unique<TQvJSONnumber>(static_cast<long double>(i))));
            if (object.UseNameIndex())
                object.NameIndex().Insert(names[i], at);
        }
        EXPECT_EQ(object.ChildCount(), 3);
        EXPECT_EQ(text_of(pair_value(object.ChildAt(2))), "2");
        EXPECT_EQ(text_of(object.ValueByName(u"a")), "0");
        EXPECT_EQ(text_of(object.Lookup(Variant("a"))), "0");
        EXPECT_EQ(text_of(object.ValueAt(2)), "0"); // the later "a" answers with the earlier value
        EXPECT_EQ(object.FindMember(u"b"), 1);
        EXPECT_EQ(object.FindMember(u"c"), -1);
    }
}

TEST(ObjectLookup, MissingNamesAndPositionsGiveNoneNeverAnError)
{
    auto object = parse_object(R"({"title":"t","":"empty name","n":[10,20]})");
    EXPECT_EQ(object->Lookup(Variant("Title")), nullptr);
    EXPECT_EQ(object->Lookup(Variant(u"titl")), nullptr);
    EXPECT_EQ(object->ChildAt(-1), nullptr);
    EXPECT_EQ(object->ChildAt(object->ChildCount()), nullptr);
    EXPECT_EQ(object->ValueAt(1), nullptr);  // an empty name gives none
    EXPECT_EQ(object->NameAt(7), u"");
    EXPECT_EQ(text_of(object->Lookup(Variant(""))), "empty name");
}

TEST(ObjectLookup, KeysPickByNameByPositionOrTheValueItself)
{
    auto object = parse_object(R"({"title":"\u4e2d\u6587","n":[10,20],"x":1.5})");
    TQvJSONbase* list = object->Lookup(Variant("n"));
    const struct {
        TQvJSONbase* on;
        Variant key;
        TQvJSONbase* expected;
    } cases[] = {
        {object.get(), Variant("\xD6\xD0\xCE\xC4"), nullptr},       // GBK key for a name that is not there
        {object.get(), Variant(int32_t{1}), object->ChildAt(1)},   // a position gives the pair
        {object.get(), Variant(1.9), object->ChildAt(1)},          // truncated
        {list, Variant(int32_t{1}), list->ChildAt(1)},
        {list, Variant(5e9), nullptr},                              // saturates, then out of range
        {list, Variant(-5e9), nullptr},
        {list, Variant(std::numeric_limits<double>::quiet_NaN()), list->ChildAt(0)},
        {list, Variant("n"), list},                                 // text on a list: the list itself
        {object.get(), Variant(true), object.get()},
        {object.get(), Variant(), object.get()},
        {object.get(), Variant::MakeNull(), object.get()},
        {list->ChildAt(0), Variant("n"), list->ChildAt(0)},        // leaves answer with themselves
        {list->ChildAt(0), Variant(int32_t{0}), list->ChildAt(0)},
    };
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(cases[i].on->Lookup(cases[i].key), cases[i].expected) << "case " << i;

    auto chinese = parse_object("{\"\\u4e2d\\u6587\":7}");
    EXPECT_EQ(text_of(chinese->Lookup(Variant("\xD6\xD0\xCE\xC4"))), "7"); // 8-bit keys go through GBK
}

TEST(ContainerReads, TypedGettersTruncateSaturateAndRefuseOtherKinds)
{
    auto list = JsonAs<TQvJSONlist>(TQvJSON::ParseDocument(R"([7.9, -7.9, 1e10, -1e10, "s", true, null])"));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->IntAt(0), 7);
    EXPECT_EQ(list->IntAt(1), -7);
    EXPECT_EQ(list->IntAt(2), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(list->IntAt(3), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(list->TextAt(4), "s");
    EXPECT_EQ(list->WideTextAt(4), u"s");
    EXPECT_TRUE(list->BoolAt(5));
    EXPECT_DOUBLE_EQ(list->DoubleAt(0), 7.9);
    // Out of range: the defaults.
    EXPECT_EQ(list->IntAt(99), 0);
    EXPECT_EQ(list->TextAt(-1), "");
    EXPECT_FALSE(list->BoolAt(99));
    // Another kind: the typecast error.
    try {
        list->IntAt(4);
        ADD_FAILURE() << "IntAt of a string";
    } catch (const EInvalidCast& e) {
        EXPECT_EQ(e.Message(), "Invalid class typecast");
    }
    EXPECT_THROW(list->TextAt(0), EInvalidCast);
    EXPECT_THROW(list->BoolAt(6), EInvalidCast);
    EXPECT_THROW(list->DoubleAt(5), EInvalidCast);

    auto object = parse_object(R"({"n":1,"n":2.5,"s":"x"})");
    EXPECT_EQ(object->IntAt(1), 1); // the value of the first "n"
    EXPECT_EQ(object->TextAt(2), "x");
    std::string name;
    EXPECT_EQ(text_of(object->EntryAt(2, name)), "x");
    EXPECT_EQ(name, "s");
    EXPECT_EQ(list->EntryAt(4, name), list->ChildAt(4));
    EXPECT_EQ(name, "4");
}

TEST(ContainerEdits, RemovalMovesTheLastChildIntoTheGap)
{
    TQvJSONlist list;
    for (int i = 0; i < 4; ++i)
        list.AppendChild(std::make_unique<TQvJSONnumber>(static_cast<long double>(i)));
    EXPECT_EQ(list.AppendChild(nullptr), -1);
    TQvJSONbase* last = list.ChildAt(3);
    list.RemoveChildAt(1);
    EXPECT_EQ(list.ChildCount(), 3);
    EXPECT_EQ(list.IndexOfChild(last), 1);
    list.RemoveChildAt(2);
    list.RemoveChildAt(7);
    EXPECT_EQ(list.ChildCount(), 2);
    EXPECT_EQ(list.IndexOfChild(nullptr), -1);
}

TEST(Ownership, FreeingTheRootFreesEveryValueBelowIt)
{
    {
        auto root = std::make_unique<TQvJSONobject>();
        auto inner = std::make_unique<TQvJSONlist>();
        inner->AppendChild(std::make_unique<CountedNull>());
        inner->AppendChild(std::make_unique<CountedNull>());
        root->AppendChild(std::make_unique<TQvJSONobjectmethod>(u"a", std::move(inner)));
        root->AppendChild(std::make_unique<TQvJSONobjectmethod>(u"b", std::make_unique<CountedNull>()));
        root->SetChildAt(5, std::make_unique<CountedNull>()); // out of range: the new value is freed at once
        EXPECT_EQ(CountedNull::alive, 3);
        JsonAs<TQvJSONlist>(pair_value(root->ChildAt(0)))->SetChildAt(0, std::make_unique<CountedNull>());
        EXPECT_EQ(CountedNull::alive, 3);
    }
    EXPECT_EQ(CountedNull::alive, 0);
}

TEST(Ownership, ASharedInnerValueKeepsTheDocumentAlive)
{
    std::shared_ptr<TQvJSONlist> items;
    {
        auto root = TQvJSON::ParseDocument(R"({"a":1,"b":2,"c":3,"d":4,"box":{"items":[{"title":"kept"}]}})");
        auto* box = pair_value(root->ChildAt(4));
        items = ShareInto(root, JsonAs<TQvJSONlist>(pair_value(box->ChildAt(0))));
    }
    // The root's last outside share is gone; the address sanitizer would see a
    // freed tree here.
    ASSERT_NE(items, nullptr);
    EXPECT_EQ(VariantToText(items->ChildAt(0)->Lookup(Variant("title"))->AsVariant()), "kept");
    EXPECT_EQ(ShareInto(std::shared_ptr<TQvJSONbase>(), items.get()), nullptr);
}

TEST(LeafWrites, SetAsVariantConvertsOrRaises)
{
    TQvJSONnumber number;
    number.SetAsVariant(Variant("12.5"));
    EXPECT_EQ(VariantToText(number.AsVariant()), "12.5");
    number.SetAsVariant(Variant(true));
    EXPECT_EQ(VariantToText(number.AsVariant()), "-1");
    EXPECT_THROW(number.SetAsVariant(Variant::MakeNull()), EVariantTypeCastError);
    EXPECT_THROW(number.SetAsVariant(Variant("12,5")), EVariantTypeCastError);

    TQvJSONstring text(u"x");
    text.SetAsVariant(Variant::MakeNull());
    EXPECT_EQ(text.Value(), u"");
    text.SetAsVariant(Variant(69.5));
    EXPECT_EQ(text.Value(), u"69.5");

    TQvJSONboolean flag;
    flag.SetAsVariant(Variant("True"));
    EXPECT_EQ(VariantToText(flag.AsVariant()), "True");
    EXPECT_THROW(flag.SetAsVariant(Variant("maybe")), EVariantTypeCastError);

    TQvJSONlist list;
    list.SetAsVariant(Variant(int32_t{3})); // containers ignore it
    EXPECT_TRUE(list.AsVariant().IsNull());
}

TEST(Ownership, ValuesPutIntoAParsedDocumentGoWithItOrWhenReplaced)
{
    {
        auto root = parse_object(R"({"a":[1,2],"b":"x"})");
        auto* list = JsonAs<TQvJSONlist>(pair_value(root->ChildAt(0)));
        auto* pair = JsonAs<TQvJSONobjectmethod>(root->ChildAt(1));
        EXPECT_EQ(list->AppendChild(std::make_unique<CountedNull>()), 2);
        list->SetChildAt(0, std::make_unique<CountedNull>());
        list->AppendChild(std::make_unique<CountedNull>());
        EXPECT_EQ(CountedNull::alive, 3);
        list->RemoveChildAt(2); // a value put in is freed when removed
        EXPECT_EQ(CountedNull::alive, 2);
        list->SetChildAt(0, std::make_unique<TQvJSONnumber>(5)); // and when replaced
        EXPECT_EQ(CountedNull::alive, 1);
        pair->SetPairValue(std::make_unique<CountedNull>());
        pair->SetPairValue(std::make_unique<CountedNull>());
        EXPECT_EQ(CountedNull::alive, 2);
        auto inner = std::make_unique<TQvJSONlist>();
        inner->AppendChild(std::make_unique<CountedNull>());
        root->AppendChild(std::make_unique<TQvJSONobjectmethod>(u"c", std::move(inner)));
        EXPECT_EQ(CountedNull::alive, 3);
        EXPECT_EQ(text_of(list->ChildAt(0)), "5");
        EXPECT_EQ(text_of(list->ChildAt(1)), "2");
        EXPECT_EQ(list->ChildCount(), 3);
    }
    // Freeing the document frees what was put in; the leak sanitizer checks the rest.
    EXPECT_EQ(CountedNull::alive, 0);
}

TEST(LeafWrites, ParsedStringsAndNamesTakeNewText)
{
    auto root = parse_object(R"({"name":"short","list":[true]})");
    auto* text = JsonAs<TQvJSONstring>(root->ValueByName(u"name"));
    text->SetAsVariant(Variant(u"\u4E2D a much longer text than before"));
    EXPECT_EQ(text->Value(), u"\u4E2D a much longer text than before");
    auto* pair = JsonAs<TQvJSONobjectmethod>(root->ChildAt(0));
    pair->SetPairName(u"renamed");
    EXPECT_EQ(pair->PairName(), u"renamed");
    EXPECT_EQ(root->ValueByName(u"name"), text) << "the index keeps the name it was built with";
    auto* list = JsonAs<TQvJSONlist>(root->ValueByName(u"list"));
    for (int i = 0; i < 40; ++i) // grows past the list's parsed size
        list->AppendChild(std::make_unique<TQvJSONnumber>(i));
    EXPECT_EQ(list->ChildCount(), 41);
    EXPECT_EQ(text_of(list->ChildAt(40)), "39");
}

TEST(Lookup, ObjectsOfAListWithTheSameOrOtherNamesFindTheirFirstMembers)
{
    auto list = TQvJSON::ParseDocument(
        R"([{"a":1,"b":2,"a":3},{"a":4,"b":5,"a":6},{"b":7,"a":8},{"a":9,"b":10,"a":11},{},{"a":12,"b":13,"c":14}])");
    ASSERT_NE(list, nullptr);
    const std::pair<const char*, std::string> cases[][3] = {
        {{"a", "1"}, {"b", "2"}, {"c", ""}},  {{"a", "4"}, {"b", "5"}, {"c", ""}},  {{"a", "8"}, {"b", "7"}, {"c", ""}},
        {{"a", "9"}, {"b", "10"}, {"c", ""}}, {{"a", ""}, {"b", ""}, {"c", ""}}, {{"a", "12"}, {"b", "13"}, {"c", "14"}},
    };
    for (int32_t i = 0; i < list->ChildCount(); ++i) {
        for (const auto& [name, expected] : cases[i]) {
            TQvJSONbase* value = list->ChildAt(i)->Lookup(Variant(name));
            EXPECT_EQ(value ? text_of(value) : "", expected) << "object " << i << " member " << name;
        }
    }
    auto* third = JsonAs<TQvJSONobject>(list->ChildAt(3));
    EXPECT_EQ(text_of(third->ValueAt(2)), "9") << "a repeated name gives the first member";
    EXPECT_EQ(third->ChildCount(), 3);
}

TEST(Lookup, EightBitKeysFindWhatTheirWideFormsFindWithOrWithoutTheIndex)
{
    // Names that share their first units, are shorter than four units, hold a
    // unit 0, differ only in case, or lie outside ASCII (GBK key bytes).
    auto indexed = parse_object(R"({"tag_lq":1,"tag_hot":2,"tag_new":3,"tag_":4,"tag":5,"t":6,"":7,)"
                                R"("a\u0000":8,"a":9,"title":10,"promotion_price":11,"price":12,"中":13,"tag_hot":14})");
    TQvJSONobject scan(TQvJSONobject::NameLookup::Scan);
    for (int32_t i = 0; i < indexed->ChildCount(); ++i) {
        auto* pair = JsonAs<TQvJSONobjectmethod>(indexed->ChildAt(i));
        scan.AppendChild(std::make_unique<TQvJSONobjectmethod>(
            pair->PairName(), std::make_unique<TQvJSONnumber>(pair->PairValue()->AsVariant().ToDouble())));
    }
    const std::pair<std::string, std::string> cases[] = {
        {"tag_lq", "1"}, {"tag_hot", "2"},  {"tag_new", "3"},  {"tag_", "4"},           {"tag", "5"},
        {"t", "6"},      {"", "7"},         {"a", "9"},        {std::string("a\0", 2), "8"},
        {"title", "10"}, {"Title", ""},     {"tag_h", ""},     {"tag_hott", ""},       {"promotion_price", "11"},
        {"price", "12"}, {"prices", ""},    {"\xD6\xD0", "13"}, {"\xD6", ""},          {"ta", ""},
    };
    for (TQvJSONobject* object : {indexed.get(), &scan}) {
        for (const auto& [name, expected] : cases) {
            TQvJSONbase* value = object->Lookup(Variant(name));
            EXPECT_EQ(value ? text_of(value) : "", expected)
                << (object == &scan ? "scan" : "index") << " member '" << name << "'";
            EXPECT_EQ(value, object->ValueByName(AnsiToWide(name))) << name;
        }
    }
}

TEST(Lookup, EditsOfAParsedObjectReadAsThoughItWereBuiltByHand)
{
    // A parsed object holds only pairs until a child is added or replaced;
    // a child that is not a pair has no name and gives no value.
    struct Case {
        const char* edit;
        void (*apply)(TQvJSONobject&);
        const char* a; // what the name "a" finds ("" for none)
        const char* nameAt0;
        const char* valueAt0;
        const char* nameAt3;
    };
    const Case cases[] = {
        {"none", [](TQvJSONobject&) {}, "1", "a", "1", ""},
        {"append a number",
         [](TQvJSONobject& o) { EXPECT_EQ(o.AppendChild(std::make_unique<TQvJSONnumber>(4)), 3); }, "1", "a", "1", ""},
        {"append a pair",
         [](TQvJSONobject& o) {
             o.AppendChild(std::make_unique<TQvJSONobjectmethod>(u"d", std::make_unique<TQvJSONnumber>(4)));
         },
         "1", "a", "1", "d"},
        {"replace the first by a number", [](TQvJSONobject& o) { o.SetChildAt(0, std::make_unique<TQvJSONnumber>(9)); },
         "", "", "", ""},
        {"replace the first by a pair", // the index keeps the names it was built with
         [](TQvJSONobject& o) {
             o.SetChildAt(0, std::make_unique<TQvJSONobjectmethod>(u"z", std::make_unique<TQvJSONnumber>(9)));
         },
         "9", "z", "", ""},
        // The last pair moves to the gap; the index still has it at its old position.
        {"remove the first", [](TQvJSONobject& o) { o.RemoveChildAt(0); }, "3", "c", "", ""},
    };
    for (const Case& c : cases) {
        auto object = parse_object(R"({"a":1,"b":2,"c":3})");
        c.apply(*object);
        auto text = [](TQvJSONbase* value) { return value ? text_of(value) : std::string(); };
        EXPECT_EQ(text(object->Lookup(Variant("a"))), c.a) << c.edit;
        EXPECT_EQ(text(object->ValueByName(u"a")), c.a) << c.edit;
        EXPECT_EQ(WideToAnsi(object->NameAt(0)), c.nameAt0) << c.edit;
        EXPECT_EQ(text(object->ValueAt(0)), c.valueAt0) << c.edit;
        EXPECT_EQ(WideToAnsi(object->NameAt(3)), c.nameAt3) << c.edit;
        std::string name = "?";
        EXPECT_EQ(text(object->EntryAt(0, name)), c.valueAt0) << c.edit;
        EXPECT_EQ(name, c.nameAt0) << c.edit;
        EXPECT_EQ(object->NameAt(-1), u"") << c.edit;
    }
}

TEST(Lookup, EightBitKeysOfEveryLengthFindOnlyTheirOwnName)
{
    // Keys of 1 to 17 bytes, past the 4- and 8-byte steps the key is read in:
    // the name itself, the name with one byte changed at each position, and
    // the name with a GBK character (two bytes) at each position.
    const std::string letters = "abcdefghijklmnopq";
    const std::string gbk = "\xD6\xD0"; // 中
    std::string document = "{";
    int value = 0;
    for (size_t size = 1; size <= letters.size(); ++size) {
        document += "\"" + letters.substr(0, size) + "\":" + std::to_string(value++) + ",";
        for (size_t at = 0; at + 1 < size; ++at)
            document += "\"" + letters.substr(0, at) + "中" + letters.substr(at + 2, size - at - 2) + "\":" +
                        std::to_string(value++) + ",";
    }
    document.back() = '}';
    auto object = parse_object(document);
    value = 0;
    for (size_t size = 1; size <= letters.size(); ++size) {
        const std::string name = letters.substr(0, size);
        TQvJSONbase* found = object->Lookup(Variant(name));
        ASSERT_NE(found, nullptr) << name;
        EXPECT_EQ(text_of(found), std::to_string(value++)) << name;
        for (size_t at = 0; at < size; ++at) {
            std::string changed = name;
            changed[at] = static_cast<char>(changed[at] + 1);
            EXPECT_EQ(object->Lookup(Variant(changed)), nullptr) << changed;
            changed[at] = static_cast<char>(changed[at] - 33); // upper case
            EXPECT_EQ(object->Lookup(Variant(changed)), nullptr) << changed;
        }
        for (size_t at = 0; at + 1 < size; ++at) {
            const std::string key = name.substr(0, at) + gbk + name.substr(at + 2);
            found = object->Lookup(Variant(key));
            ASSERT_NE(found, nullptr) << "GBK at " << at << " of " << size;
            EXPECT_EQ(text_of(found), std::to_string(value++)) << "GBK at " << at << " of " << size;
        }
    }
}

#pragma once

#include "json/TQvBalTree.h"
#include "json/TQvJSONcustomlist.h"

#include <memory>
#include <string>
#include <string_view>

class TQvJSONobjectmethod;

// A JSON object: its children are TQvJSONobjectmethod pairs in document order,
// repeated names included. Names are found through NameIndex, which keeps the
// first position of every name, or by scanning when the object has no index.
class TQvJSONobject final : public TQvJSONcustomlist {
public:
    enum class NameLookup { Indexed, Scan };

    // A document's object keeps its index in the document's arena.
    explicit TQvJSONobject(NameLookup lookup = NameLookup::Indexed, DocumentArena* indexArena = nullptr)
        : useNameIndex_(lookup == NameLookup::Indexed), nameIndex_(indexArena)
    {
    }

    // Text keys find a member's value by name, numeric keys the pair at a position.
    TQvJSONbase* Lookup(const Variant& key) override;
    TQvJSONkind Kind() const override { return jsObject; }
    const char* KindName() const override { return "jsObject"; }
    // The member's value, named by its name in 8-bit text.
    TQvJSONbase* EntryAt(int32_t position, std::string& name) override;

    // Either keeps the object's record of holding only pairs up to date.
    void SetChildAt(int32_t position, std::unique_ptr<TQvJSONbase> value) override;
    int32_t AppendChild(std::unique_ptr<TQvJSONbase> value) override;

    // The typed reads take the value of the member at the position.
    int32_t IntAt(int32_t position) const override;
    std::string TextAt(int32_t position) const override;
    std::u16string WideTextAt(int32_t position) const override;
    double DoubleAt(int32_t position) const override;
    bool BoolAt(int32_t position) const override;

    // The value of the first member of that name, or none.
    TQvJSONbase* ValueByName(std::u16string_view name) const;
    // The position of the first member of that name, or -1.
    int32_t FindMember(std::u16string_view name) const;
    // The name of the member at the position; empty out of range.
    std::u16string_view NameAt(int32_t position) const;
    // The value of the first member named as the one at the position.
    TQvJSONbase* ValueAt(int32_t position) const;

    bool UseNameIndex() const { return useNameIndex_; }
    TQvBalTree& NameIndex() { return nameIndex_; }
    const TQvBalTree& NameIndex() const { return nameIndex_; }

private:
    friend class DocumentParser;

    // The pair at the position; none out of range or for a child of another class.
    const TQvJSONobjectmethod* PairAt(int32_t position) const;
    // The value of the pair at the position; none out of range.
    TQvJSONbase* ValueOfMember(int32_t position) const;

    bool useNameIndex_;
    // Set by the parser, whose objects hold nothing but pairs: their
    // children need no check of their class until one is replaced or added.
    bool onlyPairs_ = false;
    TQvBalTree nameIndex_;
};

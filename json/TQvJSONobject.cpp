#include "json/TQvJSONobject.h"

#include "json/TQvJSONobjectmethod.h"
#include "platform/CodePage.h"

#include <cstdint>
#include <cstring>
#include <string_view>
#include <typeinfo>

namespace {

const TQvJSONobjectmethod* pair_of(const TQvJSONbase* child)
{
    // The pair class is final: its exact type is the only one to check.
    return child && typeid(*child) == typeid(TQvJSONobjectmethod) ? static_cast<const TQvJSONobjectmethod*>(child)
                                                                   : nullptr;
}

// ASCII reads the same in the code page and in wide text. Member names are
// short: the last word (or half word) is read overlapping the one before it
// instead of byte by byte.
bool is_ascii(std::string_view text)
{
    const char* data = text.data();
    const size_t size = text.size();
    uint64_t seen = 0;
    if (size >= 8) {
        for (size_t i = 0; i + 8 <= size; i += 8) {
            uint64_t word;
            std::memcpy(&word, data + i, 8);
            seen |= word;
        }
        uint64_t last;
        std::memcpy(&last, data + size - 8, 8);
        seen |= last;
    } else if (size >= 4) {
        uint32_t first;
        uint32_t last;
        std::memcpy(&first, data, 4);
        std::memcpy(&last, data + size - 4, 4);
        seen = first | last;
    } else {
        for (size_t i = 0; i < size; ++i)
            seen |= static_cast<unsigned char>(data[i]);
    }
    return (seen & 0x8080808080808080ULL) == 0;
}

} // namespace

TQvJSONbase* TQvJSONobject::Lookup(const Variant& key)
{
    switch (key.Kind()) {
    case VariantKind::WideText:
        return ValueByName(key.WideTextValue());
    case VariantKind::AnsiText: {
        const std::string& name = key.AnsiTextValue();
        // An ASCII name is found as its wide form without converting it.
        if (is_ascii(name)) {
            if (useNameIndex_)
                return ValueOfMember(nameIndex_.FindAscii(name));
            return ValueByName(std::u16string(name.begin(), name.end()));
        }
        return ValueByName(AnsiToWide(name));
    }
    default:
        return TQvJSONcustomlist::Lookup(key);
    }
}

void TQvJSONobject::SetChildAt(int32_t position, std::unique_ptr<TQvJSONbase> value)
{
    onlyPairs_ = false;
    TQvJSONcustomlist::SetChildAt(position, std::move(value));
}

int32_t TQvJSONobject::AppendChild(std::unique_ptr<TQvJSONbase> value)
{
    onlyPairs_ = false;
    return TQvJSONcustomlist::AppendChild(std::move(value));
}

TQvJSONbase* TQvJSONobject::EntryAt(int32_t position, std::string& name)
{
    name = WideToAnsi(NameAt(position));
    return ValueAt(position);
}

int32_t TQvJSONobject::IntAt(int32_t position) const { return IntOf(ValueAt(position)); }

std::string TQvJSONobject::TextAt(int32_t position) const { return TextOf(ValueAt(position)); }

std::u16string TQvJSONobject::WideTextAt(int32_t position) const { return WideTextOf(ValueAt(position)); }

double TQvJSONobject::DoubleAt(int32_t position) const { return DoubleOf(ValueAt(position)); }

bool TQvJSONobject::BoolAt(int32_t position) const { return BoolOf(ValueAt(position)); }

TQvJSONbase* TQvJSONobject::ValueByName(std::u16string_view name) const { return ValueOfMember(FindMember(name)); }

const TQvJSONobjectmethod* TQvJSONobject::PairAt(int32_t position) const
{
    TQvJSONbase* child = TQvJSONcustomlist::ChildAt(position);
    return onlyPairs_ ? static_cast<const TQvJSONobjectmethod*>(child) : pair_of(child);
}

TQvJSONbase* TQvJSONobject::ValueOfMember(int32_t position) const
{
    const TQvJSONobjectmethod* pair = PairAt(position);
    return pair ? pair->PairValue() : nullptr;
}

int32_t TQvJSONobject::FindMember(std::u16string_view name) const
{
    if (useNameIndex_)
        return nameIndex_.Find(name);
    for (int32_t i = 0; i < ChildCount(); ++i) {
        const TQvJSONobjectmethod* pair = PairAt(i);
        if (pair && pair->PairName() == name)
            return i;
    }
    return -1;
}

std::u16string_view TQvJSONobject::NameAt(int32_t position) const
{
    const TQvJSONobjectmethod* pair = PairAt(position);
    return pair ? std::u16string_view(pair->PairName()) : std::u16string_view();
}

TQvJSONbase* TQvJSONobject::ValueAt(int32_t position) const
{
    std::u16string_view name = NameAt(position);
    if (name.empty())
        return nullptr;
    return ValueByName(name);
}

#include "json/json.h"

#include <cstddef>
#include <cstdint>

namespace {

// Reads every value the way the catalogue does: by position, by the names of
// the members, and every leaf through VariantToTextOrEmpty.
void walk(TQvJSONbase* value, size_t& total)
{
    total += VariantToTextOrEmpty(value->AsVariant()).size();
    auto* object = JsonAs<TQvJSONobject>(value);
    for (int32_t i = 0; i < value->ChildCount(); ++i) {
        TQvJSONbase* child = value->ChildAt(i);
        if (object) {
            auto* pair = JsonAs<TQvJSONobjectmethod>(child);
            total += VariantToTextOrEmpty(Variant(std::u16string(pair->PairName()))).size();
            // Both find the first member of the name (ValueAt gives none for an empty one).
            if (!pair->PairName().empty() && object->Lookup(Variant(std::u16string(pair->PairName()))) != object->ValueAt(i))
                __builtin_trap();
            child = pair->PairValue();
        }
        walk(child, total);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    auto root = TQvJSON::ParseDocument(std::span(data, size));
    if (root) {
        size_t total = 0;
        walk(root.get(), total);
    }
    return 0;
}

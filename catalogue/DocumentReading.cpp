#include "catalogue/DocumentReading.h"

#include "catalogue/CatalogueErrors.h"
#include "catalogue/CatalogueState.h"
#include "json/json.h"

std::string MemberText(TQvJSONbase* object, const char* name)
{
    if (object == nullptr)
        throw ECatalogueData::Missing("product");
    TQvJSONbase* member = object->Lookup(Variant(name));
    if (member == nullptr)
        throw ECatalogueData::Missing(std::string("member \"") + name + "\"");
    return VariantToText(member->AsVariant());
}

TQvJSONbase* MemberValueAt(TQvJSONbase* object, int32_t position, const char* what)
{
    auto* pair = object ? JsonAs<TQvJSONobjectmethod>(object->ChildAt(position)) : nullptr;
    if (pair == nullptr || pair->PairValue() == nullptr)
        throw ECatalogueData::Missing(what);
    return pair->PairValue();
}

TQvJSONbase* BatchItemAt(int32_t index)
{
    TQvJSONbase* item = BatchItems ? BatchItems->ChildAt(index) : nullptr;
    if (item == nullptr)
        throw ECatalogueData::Missing("product at index " + std::to_string(index));
    return item;
}

int32_t FirstItemOfPage(int32_t page)
{
    if (page % 2 == 0)
        return 0;
    if (!BatchItems)
        throw ECatalogueData::Missing("product list");
    return BatchItems->ChildCount() / 2;
}

const std::string& IdSlot(const std::vector<std::string>& ids, int64_t slot)
{
    if (slot < 1 || slot >= static_cast<int64_t>(ids.size()))
        throw ECatalogueData::Missing("category id in slot " + std::to_string(slot));
    return ids[static_cast<size_t>(slot)];
}

#pragma once

#include <cstdint>
#include <string>
#include <vector>

class TQvJSONbase;
class TQvJSONlist;

// Reading the catalogue's documents. Where the document lacks what is read,
// these raise ECatalogueData instead of reading through none.

// The text of a member: VariantToText of the AsVariant of Lookup(name).
// A null member raises EVariantTypeCastError.
std::string MemberText(TQvJSONbase* object, const char* name);

// The value of the member at a position of an object (PairValue of ChildAt).
TQvJSONbase* MemberValueAt(TQvJSONbase* object, int32_t position, const char* what);

// Item index of the batch, or ECatalogueData when the batch has none there.
TQvJSONbase* BatchItemAt(int32_t index);

// The index of the first product of a page: 0 on an even page, half the batch
// on an odd one.
int32_t FirstItemOfPage(int32_t page);

// The id in slot `slot` of an id array.
const std::string& IdSlot(const std::vector<std::string>& ids, int64_t slot);

#include "json/NumberText.h"
#include "json/TQvJSONbase.h"
#include "json/TQvJSONboolean.h"
#include "json/TQvJSONnumber.h"
#include "json/TQvJSONstring.h"

#include <algorithm>

Variant TQvJSONbase::AsVariant() const { return Variant::MakeNull(); }

void TQvJSONbase::SetAsVariant(const Variant&) {}

TQvJSONbase* TQvJSONbase::ChildAt(int32_t) const { return nullptr; }

void TQvJSONbase::SetChildAt(int32_t, std::unique_ptr<TQvJSONbase>) {}

int32_t TQvJSONbase::ChildCount() const { return 0; }

TQvJSONbase* TQvJSONbase::Lookup(const Variant&) { return this; }

TQvJSONkind TQvJSONbase::Kind() const { return jsBase; }

const char* TQvJSONbase::KindName() const { return "jsBase"; }

void TQvJSONbase::Release(TQvJSONbase* value, const TQvJSONbase& holder)
{
    if (!value || value->arena_)
        return;
    if (holder.arena_)
        holder.arena_->Disown(value);
    delete value;
}

TQvJSONbase* TQvJSONbase::Take(std::unique_ptr<TQvJSONbase> value, const TQvJSONbase& holder)
{
    if (value && holder.arena_)
        holder.arena_->Adopt(value.get());
    return value.release();
}

Variant TQvJSONnumber::AsVariant() const { return Variant(ExtendedToDouble(value_)); }

void TQvJSONnumber::SetAsVariant(const Variant& value) { value_ = value.ToDouble(); }

TQvJSONstring::TQvJSONstring(std::u16string_view value) { Assign(value); }

TQvJSONstring::~TQvJSONstring()
{
    if (!Arena())
        delete[] units_;
}

void TQvJSONstring::Assign(std::u16string_view value)
{
    char16_t* units = nullptr;
    if (!value.empty()) {
        units = Arena() ? Arena()->AllocateUnits(value.size()) : new char16_t[value.size()];
        std::copy(value.begin(), value.end(), units);
    }
    if (!Arena())
        delete[] units_;
    units_ = units;
    size_ = value.size();
}

Variant TQvJSONstring::AsVariant() const { return Variant(Value()); }

void TQvJSONstring::SetAsVariant(const Variant& value) { Assign(value.ToWideText()); }

Variant TQvJSONboolean::AsVariant() const { return Variant(value_ != 0); }

void TQvJSONboolean::SetAsVariant(const Variant& value) { value_ = value.ToBoolean() ? 1 : 0; }

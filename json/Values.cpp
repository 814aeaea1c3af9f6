#include "json/NumberText.h"
#include "json/TQvJSONbase.h"
#include "json/TQvJSONboolean.h"
#include "json/TQvJSONnumber.h"
#include "json/TQvJSONstring.h"

Variant TQvJSONbase::AsVariant() const { return Variant::MakeNull(); }

void TQvJSONbase::SetAsVariant(const Variant&) {}

TQvJSONbase* TQvJSONbase::ChildAt(int32_t) const { return nullptr; }

void TQvJSONbase::SetChildAt(int32_t, std::unique_ptr<TQvJSONbase>) {}

int32_t TQvJSONbase::ChildCount() const { return 0; }

TQvJSONbase* TQvJSONbase::Lookup(const Variant&) { return this; }

TQvJSONkind TQvJSONbase::Kind() const { return jsBase; }

const char* TQvJSONbase::KindName() const { return "jsBase"; }

Variant TQvJSONnumber::AsVariant() const { return Variant(ExtendedToDouble(value_)); }

void TQvJSONnumber::SetAsVariant(const Variant& value) { value_ = value.ToDouble(); }

Variant TQvJSONstring::AsVariant() const { return Variant(value_); }

void TQvJSONstring::SetAsVariant(const Variant& value) { value_ = value.ToWideText(); }

Variant TQvJSONboolean::AsVariant() const { return Variant(value_ != 0); }

void TQvJSONboolean::SetAsVariant(const Variant& value) { value_ = value.ToBoolean() ? 1 : 0; }

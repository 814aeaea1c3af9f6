#include "json/TQvJSONcustomlist.h"

#include "base/ConvertErrors.h"
#include "base/IntegerText.h"
#include "json/VariantText.h"

#include <limits>

TQvJSONcustomlist::~TQvJSONcustomlist()
{
    for (int32_t i = ChildCount() - 1; i >= 0; --i)
        TQvJSONcustomlist::RemoveChildAt(i);
}

TQvJSONbase* TQvJSONcustomlist::ChildAt(int32_t position) const
{
    if (position < 0 || position >= ChildCount())
        return nullptr;
    return children_[static_cast<size_t>(position)].get();
}

void TQvJSONcustomlist::SetChildAt(int32_t position, std::unique_ptr<TQvJSONbase> value)
{
    if (position < 0 || position >= ChildCount())
        return;
    children_[static_cast<size_t>(position)] = std::move(value);
}

int32_t TQvJSONcustomlist::ChildCount() const { return static_cast<int32_t>(children_.size()); }

TQvJSONbase* TQvJSONcustomlist::Lookup(const Variant& key)
{
    switch (key.Kind()) {
    case VariantKind::Integer:
        return ChildAt(key.IntegerValue());
    case VariantKind::Double:
        return ChildAt(SaturateToInt32(key.DoubleValue()));
    default:
        return this;
    }
}

TQvJSONbase* TQvJSONcustomlist::EntryAt(int32_t position, std::string& name)
{
    name = IntToStr(position);
    return ChildAt(position);
}

int32_t TQvJSONcustomlist::AppendChild(std::unique_ptr<TQvJSONbase> value)
{
    // Positions are 32-bit; a list that could not name its next one refuses it.
    if (!value || children_.size() >= static_cast<size_t>(std::numeric_limits<int32_t>::max()))
        return -1;
    children_.push_back(std::move(value));
    return ChildCount() - 1;
}

void TQvJSONcustomlist::RemoveChildAt(int32_t position)
{
    if (position < 0 || position >= ChildCount())
        return;
    auto index = static_cast<size_t>(position);
    children_[index].reset();
    if (index != children_.size() - 1)
        children_[index] = std::move(children_.back());
    children_.pop_back();
}

int32_t TQvJSONcustomlist::IndexOfChild(const TQvJSONbase* value) const
{
    for (size_t i = 0; i < children_.size(); ++i)
        if (children_[i].get() == value)
            return static_cast<int32_t>(i);
    return -1;
}

int32_t TQvJSONcustomlist::IntOf(const TQvJSONbase* value)
{
    if (!value)
        return 0;
    if (value->Kind() != jsNumber)
        throw EInvalidCast();
    return SaturateToInt32(value->AsVariant().ToDouble());
}

std::string TQvJSONcustomlist::TextOf(const TQvJSONbase* value)
{
    if (!value)
        return {};
    if (value->Kind() != jsString)
        throw EInvalidCast();
    return VariantToTextOrEmpty(value->AsVariant());
}

std::u16string TQvJSONcustomlist::WideTextOf(const TQvJSONbase* value)
{
    if (!value)
        return {};
    if (value->Kind() != jsString)
        throw EInvalidCast();
    return value->AsVariant().ToWideText();
}

double TQvJSONcustomlist::DoubleOf(const TQvJSONbase* value)
{
    if (!value)
        return 0.0;
    if (value->Kind() != jsNumber)
        throw EInvalidCast();
    return value->AsVariant().ToDouble();
}

bool TQvJSONcustomlist::BoolOf(const TQvJSONbase* value)
{
    if (!value)
        return false;
    if (value->Kind() != jsBoolean)
        throw EInvalidCast();
    return value->AsVariant().ToBoolean();
}

int32_t TQvJSONcustomlist::IntAt(int32_t position) const { return IntOf(ChildAt(position)); }

std::string TQvJSONcustomlist::TextAt(int32_t position) const { return TextOf(ChildAt(position)); }

std::u16string TQvJSONcustomlist::WideTextAt(int32_t position) const { return WideTextOf(ChildAt(position)); }

double TQvJSONcustomlist::DoubleAt(int32_t position) const { return DoubleOf(ChildAt(position)); }

bool TQvJSONcustomlist::BoolAt(int32_t position) const { return BoolOf(ChildAt(position)); }

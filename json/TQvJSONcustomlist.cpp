#include "json/TQvJSONcustomlist.h"

#include "base/ConvertErrors.h"
#include "base/IntegerText.h"
#include "json/VariantText.h"

#include <algorithm>
#include <limits>

TQvJSONcustomlist::~TQvJSONcustomlist()
{
    // A document's containers are never destroyed one by one.
    for (int32_t i = ChildCount() - 1; i >= 0; --i)
        TQvJSONcustomlist::RemoveChildAt(i);
    if (!Arena())
        delete[] children_;
}

TQvJSONbase* TQvJSONcustomlist::ChildAt(int32_t position) const
{
    if (position < 0 || position >= count_)
        return nullptr;
    return children_[position];
}

void TQvJSONcustomlist::SetChildAt(int32_t position, std::unique_ptr<TQvJSONbase> value)
{
    if (position < 0 || position >= count_)
        return;
    TQvJSONbase* old = children_[position];
    children_[position] = Take(std::move(value), *this);
    Release(old, *this);
}

int32_t TQvJSONcustomlist::ChildCount() const { return count_; }

void TQvJSONcustomlist::ReserveChildren(size_t count)
{
    if (count <= static_cast<size_t>(capacity_))
        return;
    count = std::min<size_t>(count, std::numeric_limits<int32_t>::max());
    TQvJSONbase** children = Arena() ? static_cast<TQvJSONbase**>(Arena()->Allocate(
                                           count * sizeof(TQvJSONbase*), alignof(TQvJSONbase*)))
                                     : new TQvJSONbase*[count];
    std::copy(children_, children_ + count_, children);
    if (!Arena())
        delete[] children_;
    children_ = children;
    capacity_ = static_cast<int32_t>(count);
}

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
    if (!value || count_ == std::numeric_limits<int32_t>::max())
        return -1;
    if (count_ == capacity_)
        ReserveChildren(std::max<size_t>(4, size_t{2} * static_cast<size_t>(capacity_)));
    children_[count_] = Take(std::move(value), *this);
    return count_++;
}

void TQvJSONcustomlist::RemoveChildAt(int32_t position)
{
    if (position < 0 || position >= count_)
        return;
    TQvJSONbase* removed = children_[position];
    children_[position] = children_[count_ - 1];
    --count_;
    Release(removed, *this);
}

int32_t TQvJSONcustomlist::IndexOfChild(const TQvJSONbase* value) const
{
    for (int32_t i = 0; i < count_; ++i)
        if (children_[i] == value)
            return i;
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

#include "json/TQvJSONobjectmethod.h"

#include <algorithm>

TQvJSONobjectmethod::TQvJSONobjectmethod(std::u16string_view name, std::unique_ptr<TQvJSONbase> value)
{
    SetPairName(name);
    value_ = Take(std::move(value), *this);
}

TQvJSONobjectmethod::~TQvJSONobjectmethod()
{
    if (!Arena()) {
        delete[] name_;
        Release(value_, *this);
    }
}

void TQvJSONobjectmethod::SetPairValue(std::unique_ptr<TQvJSONbase> value)
{
    TQvJSONbase* old = value_;
    value_ = Take(std::move(value), *this);
    Release(old, *this);
}

void TQvJSONobjectmethod::SetPairName(std::u16string_view name)
{
    char16_t* units = nullptr;
    if (!name.empty()) {
        units = Arena() ? Arena()->AllocateUnits(name.size()) : new char16_t[name.size()];
        std::copy(name.begin(), name.end(), units);
    }
    if (!Arena())
        delete[] name_;
    name_ = units;
    nameSize_ = name.size();
}

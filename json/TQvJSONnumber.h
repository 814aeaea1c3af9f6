#pragma once

#include "json/TQvJSONbase.h"

// One number, kept as an extended float; integers and fractions alike.
class TQvJSONnumber : public TQvJSONbase {
public:
    TQvJSONnumber() = default;
    explicit TQvJSONnumber(long double value) : value_(value) {}

    long double Value() const { return value_; }

    // A double.
    Variant AsVariant() const override;
    // Stores the value read as a double.
    void SetAsVariant(const Variant& value) override;
    TQvJSONkind Kind() const override { return jsNumber; }
    const char* KindName() const override { return "jsNumber"; }

private:
    long double value_ = 0;
};

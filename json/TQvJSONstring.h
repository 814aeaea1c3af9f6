#pragma once

#include "json/TQvJSONbase.h"

#include <string>

// One string, kept as wide text.
class TQvJSONstring : public TQvJSONbase {
public:
    TQvJSONstring() = default;
    explicit TQvJSONstring(std::u16string value) : value_(std::move(value)) {}

    const std::u16string& Value() const { return value_; }

    // Wide text.
    Variant AsVariant() const override;
    // Stores the value read as wide text; Null stores empty text.
    void SetAsVariant(const Variant& value) override;
    TQvJSONkind Kind() const override { return jsString; }
    const char* KindName() const override { return "jsString"; }

private:
    std::u16string value_;
};

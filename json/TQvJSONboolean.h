#pragma once

#include "json/TQvJSONbase.h"

class TQvJSONboolean : public TQvJSONbase {
public:
    TQvJSONboolean() = default;
    explicit TQvJSONboolean(bool value) : value_(value ? 1 : 0) {}

    bool Value() const { return value_ != 0; }

    // A boolean.
    Variant AsVariant() const override;
    // Stores the value read as a boolean.
    void SetAsVariant(const Variant& value) override;
    TQvJSONkind Kind() const override { return jsBoolean; }
    const char* KindName() const override { return "jsBoolean"; }

private:
    uint8_t value_ = 0;
};

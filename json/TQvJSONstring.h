#pragma once

#include "json/TQvJSONbase.h"

#include <string>
#include <string_view>

// One string, kept as wide text.
class TQvJSONstring final : public TQvJSONbase {
public:
    TQvJSONstring() = default;
    explicit TQvJSONstring(std::u16string_view value);
    ~TQvJSONstring() override;

    std::u16string_view Value() const { return {units_, size_}; }

    // Wide text.
    Variant AsVariant() const override;
    // Stores the value read as wide text; Null stores empty text.
    void SetAsVariant(const Variant& value) override;
    TQvJSONkind Kind() const override { return jsString; }
    const char* KindName() const override { return "jsString"; }

private:
    friend class DocumentParser;
    // Units of a document's string live in its arena, others on the heap.
    void Assign(std::u16string_view value);

    const char16_t* units_ = nullptr;
    size_t size_ = 0;
};

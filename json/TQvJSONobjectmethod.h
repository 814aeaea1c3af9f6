#pragma once

#include "json/TQvJSONbase.h"

#include <memory>
#include <string>
#include <string_view>

// One member of an object: its name and the value it owns.
class TQvJSONobjectmethod final : public TQvJSONbase {
public:
    TQvJSONobjectmethod() = default;
    TQvJSONobjectmethod(std::u16string_view name, std::unique_ptr<TQvJSONbase> value);
    ~TQvJSONobjectmethod() override;

    // None until a value is set.
    TQvJSONbase* PairValue() const { return value_; }
    std::u16string_view PairName() const { return {name_, nameSize_}; }
    void SetPairValue(std::unique_ptr<TQvJSONbase> value);
    void SetPairName(std::u16string_view name);

private:
    friend class DocumentParser;

    // The units of a document's pair live in its arena, others on the heap.
    const char16_t* name_ = nullptr;
    size_t nameSize_ = 0;
    TQvJSONbase* value_ = nullptr;
};

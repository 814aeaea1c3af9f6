#pragma once

#include "json/TQvJSONbase.h"

#include <memory>
#include <string>

// One member of an object: its name and the value it owns.
class TQvJSONobjectmethod : public TQvJSONbase {
public:
    TQvJSONobjectmethod() = default;
    TQvJSONobjectmethod(std::u16string name, std::unique_ptr<TQvJSONbase> value)
        : name_(std::move(name)), value_(std::move(value))
    {
    }

    // None until a value is set.
    TQvJSONbase* PairValue() const { return value_.get(); }
    const std::u16string& PairName() const { return name_; }
    void SetPairValue(std::unique_ptr<TQvJSONbase> value) { value_ = std::move(value); }
    void SetPairName(std::u16string name) { name_ = std::move(name); }

private:
    std::u16string name_;
    std::unique_ptr<TQvJSONbase> value_;
};

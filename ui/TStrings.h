#pragma once

#include <string>

// A list of 8-bit (GBK) texts kept by a control.
class TStrings {
public:
    virtual ~TStrings() = default;

    virtual int Count() const = 0;
    virtual std::string Strings(int index) const = 0;
    virtual void Add(const std::string& text) = 0;
    virtual void Clear() = 0;
};

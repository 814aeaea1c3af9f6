#pragma once

#include "base/Exception.h"
#include "base/IntegerText.h"
#include "json/TQvJSON.h"

#include <string>
#include <string_view>

// A parse that cannot go on; never leaves ParseDocument.
class EParseAbandoned : public Exception {
public:
    using Exception::Exception;
    const char* ClassName() const noexcept override { return "EParseAbandoned"; }

    static EParseAbandoned NumberOutOfRange(std::string_view text)
    {
        return EParseAbandoned("'" + std::string(text) + "' is not a valid floating point value");
    }
    static EParseAbandoned NestingTooDeep()
    {
        return EParseAbandoned("nesting deeper than " + IntToStr(TQvJSON::MaxNestingDepth));
    }
};

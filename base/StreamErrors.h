#pragma once

#include "base/Exception.h"

// A stream held fewer bytes than a copy asked for.
class EReadError : public Exception {
public:
    EReadError() : Exception("Stream read error") {}
    const char* ClassName() const noexcept override { return "EReadError"; }
};

#pragma once

#include "json/TQvJSONbase.h"

// The JSON null: reads as a Null Variant.
class TQvJSONnull : public TQvJSONbase {
public:
    TQvJSONkind Kind() const override { return jsNull; }
    const char* KindName() const override { return "jsNull"; }
};

#pragma once

#include "json/TQvJSONcustomlist.h"

// A JSON array; its children are the elements.
class TQvJSONlist final : public TQvJSONcustomlist {
public:
    TQvJSONkind Kind() const override { return jsList; }
    const char* KindName() const override { return "jsList"; }
};

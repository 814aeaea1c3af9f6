#pragma once

#include "base/Exception.h"

#include <string_view>

// A catalogue document lacks what the window reads from it: a member, the
// product container, a product at an index, a filled id slot.
class ECatalogueData : public Exception {
public:
    using Exception::Exception;
    const char* ClassName() const noexcept override { return "ECatalogueData"; }

    // "The catalogue data has no %s."
    static ECatalogueData Missing(std::string_view what);
};

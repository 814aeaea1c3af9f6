#include "catalogue/CatalogueErrors.h"

#include <string>

ECatalogueData ECatalogueData::Missing(std::string_view what)
{
    std::string message = "The catalogue data has no ";
    message.append(what);
    message += ".";
    return ECatalogueData(std::move(message));
}

#include "base/ConvertErrors.h"

EConvertError EConvertError::NotAnInteger(std::string_view text)
{
    std::string message = "'";
    message.append(text);
    message += "' is not a valid integer value";
    return EConvertError(std::move(message));
}

EVariantTypeCastError EVariantTypeCastError::CannotConvert(std::string_view from, std::string_view to)
{
    std::string message = "Could not convert variant of type (";
    message.append(from);
    message += ") into type (";
    message.append(to);
    message += ")";
    return EVariantTypeCastError(std::move(message));
}

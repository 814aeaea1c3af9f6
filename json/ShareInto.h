#pragma once

#include "json/TQvJSONbase.h"

#include <memory>

// A share of a value inside a document that keeps the whole document alive:
// `ShareInto(root, root->ChildAt(4))`. None in, none out.
template <class T, class R>
std::shared_ptr<T> ShareInto(const std::shared_ptr<R>& root, T* inner)
{
    if (!root || !inner)
        return nullptr;
    return std::shared_ptr<T>(root, inner);
}

// The value as one of the value classes, or none when it is another kind.
template <class T>
T* JsonAs(TQvJSONbase* value)
{
    return dynamic_cast<T*>(value);
}

// The same for a share; the result shares the same document.
template <class T, class R>
std::shared_ptr<T> JsonAs(const std::shared_ptr<R>& value)
{
    return std::dynamic_pointer_cast<T>(value);
}

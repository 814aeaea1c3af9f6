#pragma once

#include <functional>

// The one entry to event handlers. An error the handler raises (ours, the
// standard library's or anything else) goes to Application->HandleException
// and ends here: nothing is ever thrown back into the window system.
void Dispatch(const std::function<void()>& handler) noexcept;

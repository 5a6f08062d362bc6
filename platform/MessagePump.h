#pragma once

#include <functional>

// Dispatches the window's pending events. Long operations call it at fixed points so the window
// stays usable; any handler may therefore run nested inside the caller.
using TMessagePump = std::function<void()>;

#pragma once
// The general error handler: every command runs inside guarded(), which shows any error in the
// error box and lets the event loop go on. No exception ever crosses Qt's event loop.

#include "platform/Platform.h"

#include <functional>

namespace tablor {

// Runs the command; returns false when it ended in an error (already shown).
bool guarded(Platform& platform, const std::function<void()>& command);

} // namespace tablor

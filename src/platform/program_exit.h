#pragma once

#include <functional>

namespace platform {

// Ends the program at once: no window is asked, nothing further is saved, open connections die
// with the process. Tests install their own handler so that the test runner survives; callers
// must therefore return right after calling it.
void endProgram();

using EndProgramHandler = std::function<void()>;
// Replaces the handler; returns the previous one. An empty handler restores the default.
EndProgramHandler setEndProgramHandler(EndProgramHandler handler);

} // namespace platform

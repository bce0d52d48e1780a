// The system's own window classes ("Static", "Edit", "Button"), present from the window manager's
// start so that programs and dialog templates create them by name without registering them.
#pragma once

#include "WindowManager.h"

namespace platform::user {

// Adds the system classes to a state being built (no lock is taken: nothing else sees it yet).
void addSystemClasses(State& state);

}  // namespace platform::user

// The shell's state shared by its calls: the input panel's position and whether it is up.
#pragma once

#include "platform/wingdi.h"

namespace platform::pocketpc {

// Height in 96-dpi units of the bar at the bottom of the screen (menu bar and input-panel button).
constexpr int kBottomBarUnits = 26;

bool inputPanelUp();
// Raises or lowers the panel; announces a change to the top-level windows.
void setInputPanelUp(bool up);
// Where the input panel is when up: full screen width, just above the bottom bar.
RECT inputPanelRect();
// Whether SHFullScreen left the start icon shown on the task bar.
bool startIconShown();
// True while a visible menu bar window covers the bottom bar (the input-panel button is then its).
bool menuBarShown();
// The screen below the task bar (when shown) and above the input panel (when up).
RECT visibleDesktop();

}  // namespace platform::pocketpc

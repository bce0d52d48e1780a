// The shell's own parts of the screen: the task bar at the top (dark, with the clock) and the input
// panel's button bar at the bottom, drawn over the framebuffer while the screen says they are shown.
#pragma once

#include <string>

namespace platform::display {

// Draws the bars that are shown onto the framebuffer (they lie above every window, as on the device).
void drawShellBars();
// Draws the bars, then writes the framebuffer as a PNG; false when the file cannot be written.
bool writeScreenPng(const std::string& path);

}  // namespace platform::display

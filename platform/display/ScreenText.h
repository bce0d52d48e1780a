// What a user sees, for input scripts: the text runs showing on the screen with the windows they lie
// in, and visible windows named by paths of window names (or "#id"), such as "Keyboard/5".
#pragma once

#include <string>
#include <vector>

#include "platform/winuser.h"

namespace platform::display {

// One run of text showing on the screen: its text, its rectangle in screen pixels and the path of
// the window it lies in (empty when it lies in none, such as the task bar's clock).
struct ShownText {
    std::u16string text;
    RECT rect;
    std::u16string window;
};

// Every text run showing on the screen, top to bottom, then left to right.
std::vector<ShownText> shownTexts();
// Writes the shown texts into file, one JSON object a line:
//   {"text": "...", "rect": [left, top, right, bottom], "window": "path"}
// False when the file cannot be written (then none is left).
bool writeShownTexts(const std::string& file);

// The visible windows a path names. The elements are separated by "/"; each is a window name or "#"
// and a control id, searched among the visible descendants of the window the elements before found
// (the first element among the visible top-level windows and their descendants). A window that
// matches hides its own descendants from that element, so "FingerList" names the outer of two
// nested windows of that name. Empty when nothing matches; several when the path is ambiguous.
std::vector<HWND> windowsAtPath(const std::u16string& path);
// The path windowsAtPath reads for a window: the elements of its ancestors below its top-level
// window and its own (a top-level window is named by itself). An element is the window's name, or
// "#" and its id when the name is empty or holds "/".
std::u16string pathOf(HWND window);
// The deepest visible window at a screen point (disabled windows included), or null.
HWND windowAt(POINT point);

}  // namespace platform::display

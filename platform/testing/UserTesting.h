// Test support for window tests: the screen profile and pixels, stylus and key input through the
// same path the presenters use, queue pumping, and a scope that cleans up the thread's windows.
#pragma once

#include <cstdint>
#include <string>

#include "platform/winuser.h"

namespace platform::testing {

// Dispatches every message the calling thread has (posted, then generated WM_PAINT) without waiting
// and without advancing the clock. Returns how many were dispatched; a WM_QUIT is put back.
int pumpMessages();
// Advances the virtual clock by milliseconds (due timers post their WM_TIMER) and then pumps.
int advanceAndPump(DWORD milliseconds);

// The screen: a fresh black framebuffer of the given profile.
void useScreen(int width, int height, int dpi);
void rotateScreen();
// The colour (COLORREF) of a screen pixel; CLR_INVALID outside the screen.
COLORREF screenPixel(int x, int y);
unsigned framesPresented();

void stylusDown(int x, int y);
void stylusMove(int x, int y);
void stylusUp(int x, int y);
// Stylus down and up at the same point.
void tap(int x, int y);
// A device key pressed and released.
void pressKey(UINT virtualKey);

// For the life of a test: virtual clock from 2026-01-01 00:00, screen 240x320@96 (or the profile
// given), and on exit every window of the thread destroyed and its queue emptied.
class WindowTestScope {
  public:
    WindowTestScope(int width = 240, int height = 320, int dpi = 96);
    ~WindowTestScope();
    WindowTestScope(const WindowTestScope&) = delete;
    WindowTestScope& operator=(const WindowTestScope&) = delete;
};

}  // namespace platform::testing

// Window test support: screen access, synthetic input and queue pumping.

#include "UserTesting.h"

#include "../display/Screen.h"
#include "platform/clock.h"
#include "platform/detail/Surface.h"

namespace platform::testing {

int pumpMessages() {
    int count = 0;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
        ++count;
    }
    return count;
}

int advanceAndPump(DWORD milliseconds) {
    platform::advanceClock(milliseconds);
    return pumpMessages();
}

void useScreen(int width, int height, int dpi) {
    Screen::instance().configure(ScreenProfile{width, height, dpi});
}

void rotateScreen() {
    Screen::instance().rotate();
}

COLORREF screenPixel(int x, int y) {
    auto surface = Screen::instance().surface();
    if (!surface->contains(x, y)) return CLR_INVALID;
    return colorFromPixel(surface->pixel(x, y));
}

unsigned framesPresented() {
    return Screen::instance().framesPresented();
}

void stylusDown(int x, int y) {
    injectStylus(StylusAction::Down, x, y);
}
void stylusMove(int x, int y) {
    injectStylus(StylusAction::Move, x, y);
}
void stylusUp(int x, int y) {
    injectStylus(StylusAction::Up, x, y);
}

void tap(int x, int y) {
    stylusDown(x, y);
    stylusUp(x, y);
}

void pressKey(UINT virtualKey) {
    injectKey(virtualKey, true);
    injectKey(virtualKey, false);
}

WindowTestScope::WindowTestScope(int width, int height, int dpi) {
    SYSTEMTIME start{2026, 1, 4, 1, 0, 0, 0, 0};
    useVirtualClock(start);
    destroyThreadWindows();
    useScreen(width, height, dpi);
    takeLastBeep();
    SetCursor(nullptr);
}

WindowTestScope::~WindowTestScope() {
    destroyThreadWindows();
}

}  // namespace platform::testing

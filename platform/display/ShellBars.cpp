// Drawing the task bar and the input panel's button bar over the framebuffer.

#include "ShellBars.h"

#include <cstdio>

#include "../pocketpc/ShellState.h"
#include "Screen.h"
#include "platform/clock.h"
#include "platform/detail/Gdi.h"
#include "platform/winuser.h"

namespace platform::display {

namespace {

constexpr COLORREF kTaskBarColor = RGB(16, 36, 72);
constexpr COLORREF kTaskBarText = RGB(255, 255, 255);
constexpr COLORREF kPanelBarColor = RGB(212, 208, 200);
constexpr COLORREF kPanelKeyColor = RGB(64, 64, 64);
constexpr int kClockMarginUnits = 4;
constexpr int kKeyboardIconUnits = 18;
constexpr int kStartIconUnits = 16;
constexpr COLORREF kStartIconColors[] = {RGB(220, 60, 40), RGB(80, 170, 60), RGB(40, 110, 210),
                                         RGB(240, 190, 30)};

void fill(HDC dc, const RECT& area, COLORREF color) {
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc, &area, brush);
    DeleteObject(brush);
}

// The start icon: four coloured squares at the task bar's left end.
void drawStartIcon(HDC dc, const Screen& screen, const RECT& bar) {
    int size = std::min(screen.scale(kStartIconUnits), static_cast<int>(bar.bottom) - 2);
    int half = size / 2;
    int left = screen.scale(kClockMarginUnits);
    int top = (bar.bottom - size) / 2;
    for (int i = 0; i < 4; ++i) {
        int x = left + (i % 2) * half;
        int y = top + (i / 2) * half;
        fill(dc, RECT{x, y, x + half - 1, y + half - 1}, kStartIconColors[i]);
    }
}

void drawTaskBar(HDC dc, const Screen& screen) {
    RECT bar{0, 0, screen.width(), screen.taskBarHeight()};
    fill(dc, bar, kTaskBarColor);
    if (pocketpc::startIconShown()) drawStartIcon(dc, screen, bar);
    SYSTEMTIME now;
    GetLocalTime(&now);
    char text[8];
    std::snprintf(text, sizeof text, "%02u:%02u", now.wHour % 24u, now.wMinute % 60u);
    std::u16string clock(text, text + std::char_traits<char>::length(text));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kTaskBarText);
    HGDIOBJ old = SelectObject(dc, GetStockObject(SYSTEM_FONT));
    RECT textArea = bar;
    textArea.right -= screen.scale(kClockMarginUnits);
    DrawTextW(dc, clock.c_str(), static_cast<int>(clock.size()), &textArea,
              DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
    SelectObject(dc, old);
}

// The bar with the input panel's button: a small keyboard drawn in the middle.
void drawPanelBar(HDC dc, const Screen& screen) {
    int height = screen.height() - screen.workArea().bottom;
    if (height <= 0) return;
    RECT bar{0, screen.height() - height, screen.width(), screen.height()};
    fill(dc, bar, kPanelBarColor);
    int size = std::min(screen.scale(kKeyboardIconUnits), height - 2);
    int left = (screen.width() - size) / 2;
    int top = bar.top + (height - size * 2 / 3) / 2;
    RECT outline{left, top, left + size, top + size * 2 / 3};
    fill(dc, outline, kPanelKeyColor);
    RECT inside{outline.left + 1, outline.top + 1, outline.right - 1, outline.bottom - 1};
    fill(dc, inside, kPanelBarColor);
    int key = std::max(1, size / 6);
    for (int row = 0; row < 2; ++row)
        for (int column = 0; column < 4; ++column) {
            int x = inside.left + 1 + column * (key + 1);
            int y = inside.top + 1 + row * (key + 1);
            RECT k{x, y, std::min(x + key, static_cast<int>(inside.right) - 1), y + key};
            fill(dc, k, kPanelKeyColor);
        }
}

}  // namespace

void drawShellBars() {
    Screen& screen = Screen::instance();
    bool taskBar = screen.taskBarShown();
    bool panelBar = screen.inputPanelShown() && !pocketpc::menuBarShown();
    if (!taskBar && !panelBar) return;
    auto surface = screen.surface();
    HDC dc = createSurfaceDC(surface, POINT{0, 0}, Region(screen.bounds()));
    if (!dc) return;
    if (taskBar) drawTaskBar(dc, screen);
    if (panelBar) drawPanelBar(dc, screen);
    DeleteDC(dc);
}

bool writeScreenPng(const std::string& path) {
    drawShellBars();
    return writePng(*Screen::instance().surface(), path);
}

}  // namespace platform::display

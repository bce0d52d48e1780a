// Shared helpers of the controls tests: a parent window object that collects the controls'
// notifications, solid test bitmaps and inked-pixel bounds read from the headless screen.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <ostream>
#include <utility>
#include <vector>

#include "MessageRecorder.h"
#include "ScreenMetrics.h"
#include "UserTesting.h"
#include "WindowObject.h"

namespace controlstest {

// One notification a parent received: message and wParam (the key or label id).
using Notification = std::pair<UINT, WPARAM>;

// A message a parent received with both parameters: the private messages, typed characters and
// stylus releases that controls pass on.
struct Note {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool operator==(const Note&) const = default;
};

inline void PrintTo(const Note& note, std::ostream* out) {
    *out << platform::testing::messageName(note.message) << "(" << note.wParam << ", " << note.lParam << ")";
}

// A top-level window object at the screen's top-left that keeps the private messages it receives.
class ParentWindow : public WindowObject {
  public:
    LRESULT windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message >= WM_USER && message < WM_USER + 0x100) {
            received.emplace_back(message, wParam);
            notes.push_back(Note{message, wParam, lParam});
            return 0;
        }
        if (message == WM_CHAR || message == WM_LBUTTONUP) notes.push_back(Note{message, wParam, lParam});
        if (message == WM_PAINT) {
            PAINTSTRUCT paint;
            HDC hdc = BeginPaint(window, &paint);
            RECT client;
            GetClientRect(window, &client);
            FillRect(hdc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
            EndPaint(window, &paint);
            return 0;
        }
        return WindowObject::windowProc(window, message, wParam, lParam);
    }
    std::vector<Notification> received;
    std::vector<Note> notes;
};

// A bitmap of width x height in colour, with an optional inner rectangle in another colour.
inline HBITMAP makeBitmap(int width, int height, COLORREF color, RECT inner = {}, COLORREF innerColor = 0) {
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all{0, 0, width, height};
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    if (!IsRectEmpty(&inner)) {
        brush = CreateSolidBrush(innerColor);
        FillRect(dc, &inner, brush);
        DeleteObject(brush);
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    return bitmap;
}

// The smallest screen rectangle within area whose pixels are not background; empty when none is.
inline RECT inkedOnScreen(const RECT& area, COLORREF background) {
    RECT box{area.right, area.bottom, area.left, area.top};
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            if (platform::testing::screenPixel(x, y) == background) continue;
            box.left = std::min<LONG>(box.left, x);
            box.top = std::min<LONG>(box.top, y);
            box.right = std::max<LONG>(box.right, x + 1);
            box.bottom = std::max<LONG>(box.bottom, y + 1);
        }
    }
    if (box.right <= box.left) return RECT{0, 0, 0, 0};
    return box;
}

// Every test: a fresh headless screen on the virtual clock, 96-dpi metrics, a parent window.
struct ControlsTest : ::testing::Test {
    platform::testing::WindowTestScope scope;
    ParentWindow parent;

    void SetUp() override {
        setScreenMetrics(96, 96, 240, 320);
        ASSERT_NE(parent.create(0, u"parent", WS_VISIBLE, RECT{0, 0, 240, 320}, nullptr, 0), nullptr);
        platform::testing::pumpMessages();
    }
    void TearDown() override { releaseSharedFonts(); }
    // The notifications received since the last call.
    std::vector<Notification> takeNotifications() {
        platform::testing::pumpMessages();
        parent.notes.clear();
        return std::exchange(parent.received, {});
    }
    // The notes of the given messages received since the last call (all kinds are cleared).
    std::vector<Note> takeNotes(std::initializer_list<UINT> kinds) {
        platform::testing::pumpMessages();
        std::vector<Note> kept;
        for (const Note& note : parent.notes)
            for (UINT kind : kinds)
                if (note.message == kind) kept.push_back(note);
        parent.notes.clear();
        parent.received.clear();
        return kept;
    }
};

}  // namespace controlstest

// The main window's layout for portrait, landscape and square screens and both button alignments,
// the on-screen keyboard's arrangement and visibility, full screen and screen rotation.
#include "MainWindow.h"

#include <algorithm>

#include "ScreenMetrics.h"
#include "SettingsStore.h"
#include "ShellCommands.h"
#include "platform/aygshell.h"

namespace shell {
namespace {

// Moves the window unless it is there already: every panel or mode switch lays the page out again,
// and a move repaints the window and what it uncovers even when nothing moved.
void place(HWND window, int x, int y, int width, int height) {
    if (window == nullptr) return;
    RECT now{};
    GetWindowRect(window, &now);
    if ((GetWindowLongW(window, GWL_STYLE) & WS_CHILD) != 0)
        MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&now), 2);
    if (now.left == x && now.top == y && now.right - now.left == width && now.bottom - now.top == height)
        return;
    MoveWindow(window, x, y, width, height, TRUE);
}

}  // namespace

int MainWindow::computeOrientation() const {
    int width = GetSystemMetrics(SM_CXSCREEN);
    int height = GetSystemMetrics(SM_CYSCREEN);
    if (width < height) return kPortrait;
    return width > height ? kLandscape : kSquare;
}

int MainWindow::stripHeight() const {
    bool shortStrip = GetSystemMetrics(SM_CYSCREEN) == scaleY(320);
    if (screenMetrics().highResolution) return scaleY(shortStrip ? 35 : 62);
    return scaleY(shortStrip ? 33 : 59);
}

void MainWindow::applyKeyboardVisibility() {
    HWND keyboard = m_keyboard.window();
    if (keyboard == nullptr) return;
    // The keyboard takes its arrangement's size and keeps its place until the layout moves it.
    m_keyboard.setLayout(m_orientation == kPortrait ? Keyboard::kPortrait : Keyboard::kLandscape);
    bool visible = m_orientation != kSquare && m_page == kPageEntry;
    ShowWindow(keyboard, visible ? SW_SHOW : SW_HIDE);
}

void MainWindow::enterFullScreen() {
    if (m_window == nullptr || m_fields.window() == nullptr) return;
    m_fullScreen = true;
    SHFullScreen(m_window, SHFS_HIDETASKBAR | SHFS_HIDESIPBUTTON | SHFS_HIDESTARTICON);
    ShowWindow(m_header.window(), SW_SHOW);
    place(m_window, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
}

void MainWindow::onSettingChange(WPARAM code) {
    if (code != kSettingScreenRotated) return;
    int orientation = computeOrientation();
    if (orientation == m_orientation) return;
    m_orientation = orientation;
    // The window keeps covering the turned screen.
    if (m_fullScreen) place(m_window, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    rebuildAlphabetKeys();
    applyKeyboardVisibility();
    layout();
}

void MainWindow::layoutKeyboard(const RECT& client, int top) {
    HWND keyboard = m_keyboard.window();
    SIZE size = m_keyboard.keysSize();
    if (m_orientation == kLandscape) {
        // Beside the form the keyboard reaches down to the bottom; its background fills what its keys
        // leave.
        int height = std::max<int>(size.cy, client.bottom - top);
        place(keyboard, leftHandedAlignment() ? 0 : client.right - size.cx, top, size.cx, height);
    } else if (m_orientation == kPortrait) {
        place(keyboard, 0, client.bottom - size.cy, size.cx, size.cy);
    }
}

void MainWindow::layout() {
    if (m_window == nullptr || m_fields.window() == nullptr) return;
    RECT client{};
    GetClientRect(m_window, &client);
    bool leftHanded = leftHandedAlignment();
    int side = m_orientation == kLandscape && leftHanded ? m_keyboard.keysSize().cx : 0;
    place(m_header.window(), 0, 0, client.right, m_header.height());
    int top = m_fullScreen ? m_header.height() : 0;
    SIZE form = m_fields.size();
    place(m_settings.window(), 0, top, client.right, client.bottom - top);
    // Every panel of the entry page, the field panel included, lies in the form's place.
    for (Panel* panel : m_panels)
        if (panel != nullptr) place(panel->window(), side, top, form.cx, form.cy);
    layoutKeyboard(client, top);
    // The strips reach down to the keyboard below them in portrait, else to the bottom, so that no
    // band of the window's own white shows between them; their skins stretch in the middle.
    int stripTop = top + form.cy;
    int below = client.bottom;
    if (m_orientation == kPortrait && IsWindowVisible(m_keyboard.window()))
        below = client.bottom - m_keyboard.keysSize().cy;
    int height = std::max(stripHeight(), below - stripTop);
    for (ButtonStrip& strip : m_strips)
        place(strip.window(), side, stripTop, form.cx, height);
}

}  // namespace shell

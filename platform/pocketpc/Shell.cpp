// Full-screen state, the input panel and dialog initialisation of the Pocket PC shell.

#include <atomic>

#include "../display/Screen.h"
#include "ShellState.h"
#include "platform/aygshell.h"
#include "platform/handles.h"
#include "platform/text.h"
#include "platform/winerror.h"

namespace platform::pocketpc {

namespace {

constexpr int kInputPanelUnits = 80;

std::atomic<bool> g_inputPanelUp{false};
std::atomic<bool> g_startIconShown{true};

BOOL fail(DWORD error) {
    SetLastError(error);
    return FALSE;
}

bool conflicting(DWORD state, DWORD show, DWORD hide) {
    return (state & show) && (state & hide);
}

void repaintTopLevelWindows() {
    forEachTopLevelWindow([](HWND top) { InvalidateRect(top, nullptr, TRUE); });
}

}  // namespace

bool inputPanelUp() {
    return g_inputPanelUp;
}

void setInputPanelUp(bool up) {
    if (g_inputPanelUp.exchange(up) == up) return;
    SendMessageW(HWND_BROADCAST, WM_SETTINGCHANGE, SPI_SETSIPINFO, 0);
}

bool startIconShown() {
    return g_startIconShown;
}

bool menuBarShown() {
    bool shown = false;
    forEachTopLevelWindow([&](HWND top) {
        WCHAR name[16] = {};
        if (!shown && IsWindowVisible(top) && GetClassNameW(top, name, 16) > 0 &&
            wcscmp(name, u"menu_worker") == 0)
            shown = true;
    });
    return shown;
}

RECT inputPanelRect() {
    const Screen& screen = Screen::instance();
    int bottom = screen.height() - screen.scale(kBottomBarUnits);
    return RECT{0, bottom - screen.scale(kInputPanelUnits), screen.width(), bottom};
}

RECT visibleDesktop() {
    const Screen& screen = Screen::instance();
    RECT area = screen.bounds();
    if (screen.taskBarShown()) area.top = screen.taskBarHeight();
    if (inputPanelUp()) area.bottom = inputPanelRect().top;
    if (area.bottom < area.top) area.bottom = area.top;
    return area;
}

}  // namespace platform::pocketpc

using namespace platform::pocketpc;

BOOL SHFullScreen(HWND window, DWORD state) {
    if (!IsWindow(window)) return fail(ERROR_INVALID_WINDOW_HANDLE);
    if (conflicting(state, SHFS_SHOWTASKBAR, SHFS_HIDETASKBAR) ||
        conflicting(state, SHFS_SHOWSIPBUTTON, SHFS_HIDESIPBUTTON) ||
        conflicting(state, SHFS_SHOWSTARTICON, SHFS_HIDESTARTICON))
        return fail(ERROR_INVALID_PARAMETER);
    platform::Screen& screen = platform::Screen::instance();
    bool taskBar = screen.taskBarShown();
    bool button = screen.inputPanelShown();
    if (state & SHFS_SHOWTASKBAR) screen.setTaskBarShown(true);
    if (state & SHFS_HIDETASKBAR) screen.setTaskBarShown(false);
    if (state & SHFS_SHOWSIPBUTTON) screen.setInputPanelShown(true);
    if (state & SHFS_HIDESIPBUTTON) screen.setInputPanelShown(false);
    if (state & SHFS_SHOWSTARTICON) g_startIconShown = true;
    if (state & SHFS_HIDESTARTICON) g_startIconShown = false;
    if (taskBar != screen.taskBarShown() || button != screen.inputPanelShown()) repaintTopLevelWindows();
    return TRUE;
}

BOOL SHSipPreference(HWND window, SIPSTATE state) {
    if (!IsWindow(window)) return fail(ERROR_INVALID_WINDOW_HANDLE);
    if (state == SIP_UP)
        setInputPanelUp(true);
    else if (state == SIP_DOWN || state == SIP_FORCEDOWN)
        setInputPanelUp(false);
    return TRUE;
}

BOOL SHSipInfo(UINT action, UINT, PVOID data, UINT) {
    auto* info = static_cast<SIPINFO*>(data);
    if (!info || info->cbSize != sizeof(SIPINFO)) return fail(ERROR_INVALID_PARAMETER);
    if (action == SPI_GETSIPINFO) {
        info->fdwFlags = SIPF_DOCKED | (inputPanelUp() ? SIPF_ON : SIPF_OFF);
        info->rcVisibleDesktop = visibleDesktop();
        info->rcSipRect = inputPanelRect();
        info->dwImDataSize = 0;
        info->pvImData = nullptr;
        return TRUE;
    }
    if (action == SPI_SETSIPINFO) {
        setInputPanelUp((info->fdwFlags & SIPF_ON) != 0);
        return TRUE;
    }
    return fail(ERROR_INVALID_PARAMETER);
}

BOOL SHInitDialog(PSHINITDLGINFO info) {
    if (!info) return fail(ERROR_INVALID_PARAMETER);
    if (!IsWindow(info->hDlg)) return fail(ERROR_INVALID_WINDOW_HANDLE);
    if (!(info->dwMask & SHIDIM_FLAGS)) return TRUE;
    DWORD flags = info->dwFlags;
    if (flags & SHIDIF_SIPDOWN) setInputPanelUp(false);
    const platform::Screen& screen = platform::Screen::instance();
    RECT area = screen.workArea();
    if (flags & SHIDIF_FULLSCREENNOMENUBAR) area.bottom = screen.height();
    if ((flags & SHIDIF_SIZEDLG) && inputPanelUp()) area.bottom = std::min(area.bottom, inputPanelRect().top);
    if (flags & (SHIDIF_SIZEDLG | SHIDIF_SIZEDLGFULLSCREEN))
        MoveWindow(info->hDlg, area.left, area.top, area.right - area.left, area.bottom - area.top, TRUE);
    if (flags & SHIDIF_EMPTYMENU) {
        SHMENUBARINFO bar{};
        bar.cbSize = sizeof bar;
        bar.hwndParent = info->hDlg;
        bar.dwFlags = SHCMBF_EMPTYBAR;
        if (!SHCreateMenuBar(&bar)) return FALSE;
    }
    return TRUE;
}

// The message loop modal windows run (dialog boxes, message boxes, pop-up menus): it stops when
// their work is done or WM_QUIT arrives (put back for the program's own loop), and tells the owner
// (WM_ENTERIDLE) and the test hook whenever the queue runs empty.
#pragma once

#include <functional>

#include "platform/windlg.h"

namespace platform::user {

struct ModalLoop {
    HWND modal = nullptr;
    HWND owner = nullptr;  // gets WM_ENTERIDLE (idleKind, modal) unless null
    WPARAM idleKind = MSGF_DIALOGBOX;
    std::function<bool()> done;        // checked before each message
    std::function<bool(MSG&)> filter;  // handles a message itself (true) before it is dispatched
    std::function<void()> idle;  // run when the queue is empty, before the owner and the hook hear of it
};

// Runs the loop; false when it ended because of WM_QUIT.
bool runModalLoop(const ModalLoop& loop);

}  // namespace platform::user

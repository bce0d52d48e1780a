// Running modal loops and the idle hook tests feed them through.

#include "ModalLoop.h"

#include "platform/handles.h"

#include <mutex>

namespace platform::user {

namespace {

struct IdleHook {
    std::mutex mutex;
    ModalIdleHook hook;
};

IdleHook& idleHook() {
    static auto* hook = new IdleHook();
    return *hook;
}

void enterIdle(const ModalLoop& loop) {
    if (loop.idle) loop.idle();
    if (loop.done()) return;
    if (loop.owner && IsWindow(loop.owner))
        SendMessageW(loop.owner, WM_ENTERIDLE, loop.idleKind, reinterpret_cast<LPARAM>(loop.modal));
    ModalIdleHook hook;
    {
        std::lock_guard lock(idleHook().mutex);
        hook = idleHook().hook;
    }
    if (hook && !loop.done()) hook(loop.modal);
}

}  // namespace

bool runModalLoop(const ModalLoop& loop) {
    bool idleTold = false;
    while (!loop.done()) {
        MSG msg;
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!idleTold) {
                idleTold = true;
                enterIdle(loop);
                continue;
            }
            GetMessageW(&msg, nullptr, 0, 0);
        }
        idleTold = false;
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        if (loop.filter && loop.filter(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return true;
}

}  // namespace platform::user

namespace platform {

void setModalIdleHook(ModalIdleHook hook) {
    std::lock_guard lock(user::idleHook().mutex);
    user::idleHook().hook = std::move(hook);
}

}  // namespace platform

// skinview: shows the entry page's skins in a window as the program lays them out, for looking at a
// recipe's result on any screen profile (VARKEL_SCREEN) and for end-to-end tests driven by scripts.
// Tapping the header title shows the next button strip; the toggle and the strip buttons react as
// in the program. Exit status: the quit message's, or 1 when the skins or the window are missing.
#include <cstdio>

#include "SkinBoard.h"
#include "platform/display.h"
#include "platform/resources.h"
#include "platform/windows.h"
#include "resources/DashelResources.h"

int main() {
    HINSTANCE self = GetModuleHandleW(nullptr);
    if (!platform::registerModuleResources(self, dashelResourceTable())) {
        std::fprintf(stderr, "skinview: the resource table cannot be registered\n");
        return 1;
    }
    if (!platform::startDisplay()) return 1;
    skinview::SkinBoard board;
    if (!board.create(self)) {
        std::fprintf(stderr, "skinview: a skin bitmap is missing or the window cannot be created\n");
        return 1;
    }
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    // While the thread and its message queue still exist, rather than from the exit handlers.
    platform::stopDisplay();
    return static_cast<int>(message.wParam);
}

// The program entry: the single-instance check, the main window's creation, the message loop with
// the accelerator table, and the main window's destruction (its exit sequence) after the loop.
#include "DashelEntry.h"

#include <cstdint>
#include <memory>

#include "MainWindow.h"
#include "ResourceText.h"
#include "ShellCommands.h"
#include "StoreMessages.h"

namespace shell {
namespace {

int runMessageLoop(HINSTANCE instance, HWND window) {
    HACCEL accelerators = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(kAcceleratorTable));
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (accelerators != nullptr && TranslateAcceleratorW(window, accelerators, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace

int dashelEntry(HINSTANCE instance, LPWSTR /*commandLine*/, int /*showCommand*/) {
    dove::setResourceModule(instance);
    auto mainWindow = std::make_unique<MainWindow>(instance);
    if (HWND running = FindWindowW(kMainWindowClass, nullptr)) {
        // Bit 0 asks for the running window's last active pop-up.
        SetForegroundWindow(reinterpret_cast<HWND>(reinterpret_cast<uintptr_t>(running) | 1));
        return 1;
    }
    // Failures of the data code the user must see become message boxes of the program.
    dove::setStoreAlertHook(showStoreAlert);
    if (!mainWindow->create()) {
        mainWindow.reset();
        dove::setStoreAlertHook({});
        return 0;
    }
    int exitCode = runMessageLoop(instance, mainWindow->window());
    mainWindow.reset();
    dove::setStoreAlertHook({});
    return exitCode;
}

}  // namespace shell

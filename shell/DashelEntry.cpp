// The program entry: the single-instance check, the main window's creation, the message loop with
// the accelerator table, and the main window's destruction (its exit sequence) after the loop.
#include "DashelEntry.h"

#include <cstdint>
#include <memory>

#include "MainWindow.h"
#include "ResourceText.h"
#include "ShellCommands.h"
#include "UserMessage.h"

namespace shell {
namespace {

// Failures of the data code the user must see become message boxes of the program.
void showDataMessage(const std::u16string& text, const std::u16string& caption,
                     dove::MessageButtons buttons) {
    MessageBoxW(nullptr, text.c_str(), caption.c_str(),
                (buttons == dove::MessageButtons::OkCancel ? MB_OKCANCEL : MB_OK) | MB_ICONEXCLAMATION);
}

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
    dove::setUserMessageHook(showDataMessage);
    if (!mainWindow->create()) {
        mainWindow.reset();
        dove::setUserMessageHook({});
        return 0;
    }
    int exitCode = runMessageLoop(instance, mainWindow->window());
    mainWindow.reset();
    dove::setUserMessageHook({});
    return exitCode;
}

}  // namespace shell

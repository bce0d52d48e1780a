// Shared set-up of the shell tests: a temporary device root, a headless screen on the virtual
// clock, the program's resources, accounts seeded into the finance store, and the main window
// opened as the program opens it.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "MainWindow.h"
#include "TempRoot.h"
#include "UserTesting.h"

namespace shelltest {

struct AccountSeed {
    int32_t number;
    std::u16string name;
    std::u16string currency;
    std::u16string key;
};

class ShellTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Replaces the screen by a fresh one of that profile (before open()).
    void useScreen(int width, int height, int dpi);
    // Writes accounts into the store (opened and closed around the writes).
    void seedAccounts(const std::vector<AccountSeed>& accounts);
    // Creates the main window as the program does and pumps its first messages.
    void open();
    // Destroys the main window object (the exit sequence) and pumps what it posted.
    void close();

    HWND mainWindow() const { return m_window->window(); }
    // A window's rectangle in screen coordinates; empty for NULL.
    static RECT screenRect(HWND window);
    // The centre of a rectangle given in window's client coordinates, in screen coordinates.
    static POINT screenCentre(HWND window, const RECT& clientRect);
    void tapAt(POINT point);
    // Taps button index of the strip the window shows.
    void tapStripButton(shell::Strip strip, int index);
    void tapField(int index);

    HINSTANCE m_module = nullptr;
    std::optional<platform::testing::TempRoot> m_root;
    std::optional<platform::testing::WindowTestScope> m_scope;
    std::unique_ptr<shell::MainWindow> m_window;
};

}  // namespace shelltest

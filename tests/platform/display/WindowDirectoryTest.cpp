// The window directory between processes: another process finds a window by class and title, posts
// it a message and brings it forward; entries of dead processes and damaged entries are ignored.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "../../../platform/display/WindowDirectory.h"
#include "TempRoot.h"
#include "platform/clock.h"
#include "platform/device.h"
#include "platform/windows.h"

namespace {

using platform::display::WindowDirectory;

constexpr UINT kDataChanged = WM_USER + 105;

struct Received {
    bool got = false;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    HWND foreground = nullptr;
};

Received& received() {
    static Received r;
    return r;
}

LRESULT CALLBACK probeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kDataChanged) {
        received() = {true, wParam, lParam, GetForegroundWindow()};
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// The owning process: two windows, the second active; waits for the other process's requests.
int ownerProcess(int readyPipe) {
    alarm(20);  // a parent that never asks must not leave this process behind
    platform::useRealClock();
    WindowDirectory directory;
    if (!directory.ok()) return 10;
    platform::setForeignWindows(&directory);
    WNDCLASSW cls{};
    cls.lpfnWndProc = probeProc;
    cls.lpszClassName = u"VarkelProbeCls";
    RegisterClassW(&cls);
    HWND target = CreateWindowExW(0, u"VarkelProbeCls", u"Probe Window", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50,
                                  nullptr, nullptr, nullptr, nullptr);
    HWND other = CreateWindowExW(0, u"VarkelProbeCls", u"Other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr,
                                 nullptr, nullptr, nullptr);
    SetActiveWindow(other);
    directory.sync();
    if (write(readyPipe, "r", 1) != 1) return 11;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0))
        DispatchMessageW(&msg);
    platform::setForeignWindows(nullptr);
    const Received& r = received();
    if (!r.got) return 12;
    if (r.wParam != 7 || r.lParam != -9) return 13;
    return r.foreground == target ? 0 : 14;
}

// Another process finds the owner's window, brings it forward and gives it kDataChanged, posted or
// (send) sent, which the window gets as posted with the same parameters.
void findAndReach(bool send) {
    platform::testing::TempRoot root;
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        close(ready[0]);
        _exit(ownerProcess(ready[1]));
    }
    close(ready[1]);
    char byte = 0;
    ASSERT_EQ(read(ready[0], &byte, 1), 1);
    close(ready[0]);

    WindowDirectory directory;
    platform::setForeignWindows(&directory);
    HWND found = FindWindowW(u"varkelprobecls", u"PROBE WINDOW");
    ASSERT_NE(found, nullptr);
    EXPECT_TRUE(WindowDirectory::isForeignHandle(found));
    EXPECT_TRUE(IsWindow(found));
    EXPECT_EQ(FindWindowW(u"VarkelProbeCls", u"Probe Window"), found) << "the same handle each time";
    EXPECT_EQ(FindWindowW(u"VarkelProbeCls", u"No such title"), nullptr);
    EXPECT_EQ(FindWindowW(nullptr, u"Other") == found, false);
    // Bit 0 asks for the window's last active pop-up, as a second instance does.
    EXPECT_TRUE(SetForegroundWindow(reinterpret_cast<HWND>(reinterpret_cast<uintptr_t>(found) | 1)));
    if (send)
        EXPECT_EQ(SendMessageW(found, kDataChanged, 7, -9), 0) << "a result cannot come back";
    else
        EXPECT_TRUE(PostMessageW(found, kDataChanged, 7, -9));

    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_FALSE(IsWindow(found)) << "the process ended";
    EXPECT_FALSE(PostMessageW(found, kDataChanged, 0, 0));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
    SetLastError(0);
    EXPECT_EQ(SendMessageW(found, kDataChanged, 0, 0), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
    platform::setForeignWindows(nullptr);
}

TEST(WindowDirectory, AnotherProcessFindsPostsAndBringsForward) {
    findAndReach(false);
}

TEST(WindowDirectory, AMessageSentToAnotherProcessArrivesPosted) {
    findAndReach(true);
}

void writeEntry(const std::string& path, long pid, unsigned long long start, const char* className) {
    std::ofstream(path) << "pid " << pid << "\nstart " << start
                        << "\nwindow 65536\nsocket varkel.none\nclass " << className << "\ntitle Stale\n";
}

TEST(WindowDirectory, EntriesOfDeadProcessesAreIgnoredAndRemoved) {
    platform::testing::TempRoot root;
    pid_t dead = fork();
    if (dead == 0) _exit(0);
    ASSERT_EQ(waitpid(dead, nullptr, 0), dead);
    WindowDirectory directory;
    std::string folder = platform::runFolder() + "/windows";
    std::string deadEntry = folder + "/" + std::to_string(dead) + "-65536.win";
    std::string reusedPid = folder + "/1-65536.win";  // pid 1 lives, but started at another time
    std::string damaged = folder + "/2-1.win";
    writeEntry(deadEntry, dead, 4242, "StaleCls");
    writeEntry(reusedPid, 1, 999999999999ULL, "StaleCls");
    std::ofstream(damaged) << "pid 2\nclass StaleCls\n";
    EXPECT_EQ(directory.find(u"StaleCls", nullptr), nullptr);
    EXPECT_FALSE(std::filesystem::exists(deadEntry));
    EXPECT_FALSE(std::filesystem::exists(reusedPid));
    EXPECT_TRUE(directory.entries().empty());
}

TEST(WindowDirectory, OwnWindowsAreWrittenAndRemoved) {
    platform::testing::TempRoot root;
    std::string folder = platform::runFolder() + "/windows";
    auto ownEntries = [&] {
        int count = 0;
        for (const auto& item : std::filesystem::directory_iterator(folder))
            if (item.path().filename().string().rfind(std::to_string(getpid()) + "-", 0) == 0) ++count;
        return count;
    };
    WNDCLASSW cls{};
    cls.lpfnWndProc = DefWindowProcW;
    cls.lpszClassName = u"VarkelOwnCls";
    RegisterClassW(&cls);
    {
        WindowDirectory directory;
        HWND window = CreateWindowExW(0, u"VarkelOwnCls", u"Line one\nline two", WS_POPUP, 0, 0, 10, 10,
                                      nullptr, nullptr, nullptr, nullptr);
        directory.sync();
        EXPECT_EQ(ownEntries(), 1);
        DestroyWindow(window);
        directory.sync();
        EXPECT_EQ(ownEntries(), 0);
        CreateWindowExW(0, u"VarkelOwnCls", u"again", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                        nullptr);
        directory.sync();
        EXPECT_EQ(ownEntries(), 1);
    }
    EXPECT_EQ(ownEntries(), 0) << "a closed directory leaves no entries behind";
    platform::destroyThreadWindows();
}

}  // namespace

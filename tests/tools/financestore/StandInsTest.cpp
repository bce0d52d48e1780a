// The finance manager's and the starter's stand-ins: the manager's window is found by its class from
// another process and logs each message it gets until it is closed or terminated; the starter logs
// its command line.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include "TempRoot.h"
#include "ToolRunner.h"
#include "platform/device.h"
#include "platform/display.h"
#include "platform/windows.h"

namespace financestore::testing {
namespace {

std::string readAll(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Waiting for another process is the one wall-clock wait here: up to 20 s for the condition.
template <typename Condition>
bool waitFor(Condition condition) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

class ManagerStandInTest : public ::testing::Test {
  protected:
    void SetUp() override {
        m_log = m_root.path() + "/manager.log";
        m_pid = fork();
        if (m_pid == 0) {
            setenv("VARKEL_DISPLAY", "headless", 1);
            std::string tool = toolPath();
            execl(tool.c_str(), tool.c_str(), "--root", m_root.path().c_str(), "manager", "--log",
                  m_log.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        ASSERT_GT(m_pid, 0);
        // The window logs its creation first.
        ASSERT_TRUE(waitFor([&] { return readAll(m_log).find("message 1 ") != std::string::npos; }));
    }
    void TearDown() override {
        if (m_pid > 0) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
    }
    // The manager's exit status, -1 when it did not exit normally within 20 s.
    int waitForExit() {
        int status = 0;
        bool done = waitFor([&] { return waitpid(m_pid, &status, WNOHANG) == m_pid; });
        m_pid = -1;
        return done && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    // From a child process with the window directory of the root: finds the manager's window by its
    // class and posts the messages. The child's exit status: 0 when all were posted.
    int postFromAnotherProcess(const std::vector<std::array<uint32_t, 3>>& messages) {
        return platform::testing::runInChild([&]() -> int {
            setenv("VARKEL_DISPLAY", "headless", 1);
            unsetenv("VARKEL_SCRIPT");
            platform::setDeviceRoot(m_root.path());
            if (!platform::startDisplay()) return 3;
            HWND window = nullptr;
            if (!waitFor([&] { return (window = FindWindowW(u"WCE_VarkelBrimwell", nullptr)) != nullptr; }))
                return 1;
            for (const auto& m : messages)
                if (!PostMessageW(window, m[0], m[1], m[2])) return 2;
            platform::stopDisplay();
            return 0;
        });
    }

    platform::testing::TempRoot m_root;
    std::string m_log;
    pid_t m_pid = -1;
};

TEST_F(ManagerStandInTest, LogsEachMessageFromAnotherProcessUntilClosed) {
    ASSERT_EQ(postFromAnotherProcess(
                  {{WM_USER + 105, 0, 0}, {WM_USER + 117, 7, 9}, {WM_USER + 105, 0, 0}, {WM_CLOSE, 0, 0}}),
              0);
    EXPECT_EQ(waitForExit(), 0);
    const std::string log = readAll(m_log);
    const size_t first = log.find("message 1129 wParam 0 lParam 0\n");
    const size_t added = log.find("message 1141 wParam 7 lParam 9\n");
    const size_t second = log.find("message 1129 wParam 0 lParam 0\n", first + 1);
    const size_t close = log.find("message 16 wParam 0 lParam 0\n");
    ASSERT_NE(second, std::string::npos) << log;
    EXPECT_TRUE(first < added && added < second && second < close) << "in the order posted: " << log;
    EXPECT_NE(log.find("message 2 "), std::string::npos) << "WM_DESTROY after WM_CLOSE: " << log;
}

TEST_F(ManagerStandInTest, EndsOnSigtermAndLeavesTheWindowDirectory) {
    ASSERT_EQ(postFromAnotherProcess({}), 0) << "the window is listed for other processes";
    kill(m_pid, SIGTERM);
    EXPECT_EQ(waitForExit(), 0);
    EXPECT_NE(readAll(m_log).find("message 2 "), std::string::npos) << "the window was destroyed";
    EXPECT_EQ(platform::testing::runInChild([&]() -> int {
                  platform::setDeviceRoot(m_root.path());
                  setenv("VARKEL_DISPLAY", "headless", 1);
                  if (!platform::startDisplay()) return 3;
                  return FindWindowW(u"WCE_VarkelBrimwell", nullptr) == nullptr ? 1 : 0;
              }),
              1)
        << "no window of the class is left";
}

TEST(StarterStandIn, LogsItsCommandLineOneLineARun) {
    platform::testing::TempRoot root;
    const std::string log = root.path() + "/starter.log";
    EXPECT_EQ(runTool(root.path(), {"starter", "--log", log, "/show_account_12"}).exitCode, 0);
    EXPECT_EQ(runTool(root.path(), {"starter", "--log", log}).exitCode, 0);
    EXPECT_EQ(readAll(log), "starter /show_account_12\nstarter\n");
    ToolResult printed = runTool(root.path(), {"starter", "/show_today_setup"});
    EXPECT_EQ(printed.exitCode, 0);
    EXPECT_EQ(printed.out, "starter /show_today_setup\n");
    EXPECT_EQ(runTool(root.path(), {"starter", "--log", root.path() + "/missing/folder/log", "x"}).exitCode,
              1);
}

TEST(ManagerStandIn, RefusesArgumentsItDoesNotTake) {
    platform::testing::TempRoot root;
    ToolResult result = runTool(root.path(), {"manager", "--log", root.path() + "/log", "extra"});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_NE(result.err.find("manager takes only --log FILE"), std::string::npos) << result.err;
}

}  // namespace
}  // namespace financestore::testing

// Starting, stopping and reading the finance manager's stand-in.
#include "ManagerStandIn.h"

#include <gtest/gtest.h>

#include "RemoteWindows.h"
#include "ShellCommands.h"
#include "platform/winuser.h"

namespace dashele2e {

ManagerStandIn::ManagerStandIn(const std::string& root) : m_root(root) {
    m_program.emplace(programPath("financestore"),
                      std::vector<std::string>{"--root", root, "manager", "--log", root + "/manager.log"},
                      std::map<std::string, std::string>{{"VARKEL_DISPLAY", "headless"}},
                      root + "/manager.out");
    m_started = m_program->started() && waitForWindow(root, shell::kFinanceManagerClass);
}

std::string ManagerStandIn::output() const {
    return readFile(m_root + "/manager.out");
}

std::string ManagerStandIn::stop() {
    EXPECT_TRUE(postToWindow(m_root, shell::kFinanceManagerClass, {{WM_CLOSE, 0, 0}}));
    EXPECT_EQ(m_program->wait(), 0) << m_program->output();
    return readFile(m_root + "/manager.log");
}

int countOccurrences(const std::string& text, const std::string& line) {
    int count = 0;
    for (size_t at = text.find(line); at != std::string::npos; at = text.find(line, at + 1))
        ++count;
    return count;
}

}  // namespace dashele2e

// The finance manager's stand-in for the end-to-end tests: "financestore manager" running on a device
// root, its window of class "WCE_VarkelBrimwell" logging every message it receives.
#pragma once

#include <optional>
#include <string>

#include "ProgramRun.h"

namespace dashele2e {

class ManagerStandIn {
  public:
    // Starts the stand-in on root; started() tells whether its window appeared.
    explicit ManagerStandIn(const std::string& root);
    bool started() const { return m_started; }
    // Output of the stand-in, for failure messages.
    std::string output() const;
    // Closes the stand-in through its window, so that it handles everything posted before, and
    // returns its log ("message N wParam W lParam L" a line).
    std::string stop();

  private:
    std::string m_root;
    std::optional<Program> m_program;
    bool m_started = false;
};

// How many times line occurs in text.
int countOccurrences(const std::string& text, const std::string& line);

}  // namespace dashele2e

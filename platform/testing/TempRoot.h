// Test helpers: a temporary device root for the life of a test, and running code in a child process.
#pragma once

#include <functional>
#include <string>

namespace platform::testing {

// Creates a fresh folder, makes it this process's device root (also exported as VARKEL_ROOT so child
// programs use it) and removes it again on destruction.
class TempRoot {
  public:
    TempRoot();
    ~TempRoot();
    TempRoot(const TempRoot&) = delete;
    TempRoot& operator=(const TempRoot&) = delete;

    const std::string& path() const { return m_path; }

  private:
    std::string m_path;
};

// Forks, runs body in the child and returns the child's exit status (body's result), or -1 when the
// child died by a signal or could not be started. The child never returns into the test runner.
int runInChild(const std::function<int()>& body);

// The path of a program the build made (rc, financestore, dashel...): in VARKEL_BINARY_DIR/bin when
// ctest sets that variable, otherwise beside the running test program, which the build puts in the
// same folder.
std::string builtProgram(const std::string& name);

}  // namespace platform::testing

// Running the built financestore program on a device root from a test and collecting what it printed.
#pragma once

#include <string>
#include <vector>

namespace financestore::testing {

struct ToolResult {
    int exitCode = -1;  // -1 when the program did not exit normally
    std::string out;
    std::string err;
    std::vector<std::string> outLines() const;
};

// The path of the built program: $VARKEL_BINARY_DIR/bin/financestore, else financestore beside the test
// program.
std::string toolPath();

// A word quoted for the shell.
std::string quoted(const std::string& text);
// The whole content of a file, empty when it cannot be read.
std::string readAll(const std::string& path);

// Runs financestore with --root root and the arguments, and waits for it.
ToolResult runTool(const std::string& root, const std::vector<std::string>& arguments);

}  // namespace financestore::testing

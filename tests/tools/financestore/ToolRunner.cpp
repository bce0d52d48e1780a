// Starting the program with its output captured in files of the test's root.
#include "ToolRunner.h"

#include "TempRoot.h"

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace financestore::testing {

std::string quoted(const std::string& text) {
    std::string out = "'";
    for (char c : text)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

std::string readAll(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> ToolResult::outLines() const {
    std::vector<std::string> lines;
    std::stringstream in(out);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::string toolPath() {
    return platform::testing::builtProgram("financestore");
}

ToolResult runTool(const std::string& root, const std::vector<std::string>& arguments) {
    // Beside the root, not in it, so that a root the test expects to stay missing stays missing.
    const std::string capture = root + ".capture";
    std::string command = quoted(toolPath());
    if (!root.empty()) command += " --root " + quoted(root);
    for (const std::string& argument : arguments)
        command += " " + quoted(argument);
    command += " >" + quoted(capture + ".out") + " 2>" + quoted(capture + ".err");
    ToolResult result;
    const int status = std::system(command.c_str());
    if (status != -1 && WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
    result.out = readAll(capture + ".out");
    result.err = readAll(capture + ".err");
    std::remove((capture + ".out").c_str());
    std::remove((capture + ".err").c_str());
    return result;
}

}  // namespace financestore::testing

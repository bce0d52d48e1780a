// rc on bad resource scripts: every problem reported as "file:line: error: reason", the statements
// after a bad one still read, and nothing written.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "TempRoot.h"

namespace {

namespace fs = std::filesystem;

std::string rcProgram() {
    return platform::testing::builtProgram("rc");
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class ScriptErrors : public ::testing::Test {
  protected:
    void write(const std::string& relative, const std::string& text) {
        fs::path path = input() / relative;
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << text;
    }

    // Runs rc on the folder; returns its exit status and what it printed on stderr.
    std::pair<int, std::string> compile() {
        fs::create_directories(out());
        std::string command = "'" + rcProgram() + "' --module m --input '" + input().string() +
                              "' --source '" + (out() / "M.cpp").string() + "' --header '" +
                              (out() / "M.h").string() + "' 2> '" + (out() / "errors.txt").string() + "'";
        int status = std::system(command.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readFile(out() / "errors.txt")};
    }

    fs::path input() const { return fs::path(m_root.path()) / "m"; }
    fs::path out() const { return fs::path(m_root.path()) / "out"; }

  private:
    platform::testing::TempRoot m_root;
};

TEST_F(ScriptErrors, GoodScriptsCompile) {
    write("dialogs/a.rc",
          "1 DIALOGEX 0, 0, 10, 10 CAPTION \"\\u0416 \"\"q\"\"\" BEGIN LTEXT \"x\", -1, 0, 0, 5, 5 END\n");
    write("menus/a.rc", "2 MENU { MENUITEM \"x\", 0x10, GRAYED CHECKED }\n");
    write("accelerators/a.rc", "ACCELS ACCELERATORS BEGIN \"a\", 5 END\n");
    auto [status, errors] = compile();
    EXPECT_EQ(status, 0) << errors;
}

TEST_F(ScriptErrors, EveryBadStatementIsReportedWithItsLine) {
    write("dialogs/bad.rc",
          "1 DIALOG 0, 0, 10\n"                                          // 1: missing height
          "2 DIALOG 0, 0, 10, 10 BEGIN\n"                                // 2
          "  PUSHBUTTON \"OK\", 70000, 0, 0, 5, 5\n"                     // 3: id out of range
          "END\n"                                                        // 4
          "3 DIALOG 0, 0, 10, 10 STYLE WS_BOGUS BEGIN END\n"             // 5: unknown name
          "4 DIALOG 0, 0, 10, 10 BEGIN\n"                                // 6
          "  SLIDER 1, 0, 0, 5, 5\n"                                     // 7: unknown control
          "END\n");                                                      // 8
    write("dialogs/text.rc", "5 DIALOG 0, 0, 10, 10 CAPTION \"open\n");  // 1: unterminated text
    // A NUL would end the caption inside the template and shift every field after it.
    using namespace std::string_literals;
    write("dialogs/nul.rc", "6 DIALOG 0, 0, 10, 10 CAPTION \"a\0b\" BEGIN END\n"s +          // 1
                                "7 DIALOG 0, 0, 10, 10 CAPTION \"a\\u0000b\" BEGIN END\n");  // 2
    write("menus/bad.rc",
          "7 MENU BEGIN POPUP \"p\" BEGIN END END\n"  // 1: empty pop-up
          "8 DIALOG 0, 0, 1, 1 BEGIN END\n");         // 2: wrong folder
    write("accelerators/bad.rc",
          "9 ACCELERATORS BEGIN \"a\", 1, SHIFT END\n"       // 1: SHIFT without VIRTKEY
          "10 ACCELERATORS BEGIN \"a\", 1, VIRTKEY END\n");  // 2: lower-case virtual key
    write("menus/notes.txt", "not a script\n");
    auto [status, errors] = compile();
    EXPECT_EQ(status, 1);
    std::string dialogs = (input() / "dialogs/bad.rc").string();
    std::string menus = (input() / "menus/bad.rc").string();
    std::string accelerators = (input() / "accelerators/bad.rc").string();
    const std::vector<std::string> expected = {
        dialogs + ":2: error: expected \",\"",
        dialogs + ":3: error: a control id 70000 is out of range",
        dialogs + ":5: error: expected a style, found \"WS_BOGUS\" (not a known name)",
        dialogs + ":7: error: unknown control statement \"SLIDER\"",
        (input() / "dialogs/text.rc").string() + ":1: error: unterminated text",
        (input() / "dialogs/nul.rc").string() + ":1: error: a text cannot hold NUL",
        (input() / "dialogs/nul.rc").string() + ":2: error: bad escape or malformed UTF-8 in text",
        menus + ":1: error: a menu or pop-up needs at least one item",
        menus + ":2: error: menus/ holds MENU statements only, found \"DIALOG\"",
        accelerators + ":1: error: SHIFT, CONTROL and ALT need VIRTKEY",
        accelerators + ":2: error: a quoted VIRTKEY is an upper-case letter or a digit",
        "notes.txt: error: menus/ holds only .rc scripts",
    };
    for (const std::string& line : expected)
        EXPECT_NE(errors.find(line), std::string::npos) << line << "\n" << errors;
    EXPECT_NE(errors.find("12 error(s)"), std::string::npos) << errors;
    EXPECT_FALSE(fs::exists(out() / "M.cpp"));
}

TEST_F(ScriptErrors, DuplicateDialogsAcrossScriptsAreRefused) {
    write("dialogs/a.rc", "5 DIALOG 0, 0, 1, 1 BEGIN END\n");
    write("dialogs/b.rc", "5 DIALOG 0, 0, 1, 1 BEGIN END\n");
    auto [status, errors] = compile();
    EXPECT_EQ(status, 1);
    EXPECT_NE(
        errors.find("m/dialogs/b.rc:1: error: duplicate resource: same type and name as m/dialogs/a.rc:1"),
        std::string::npos)
        << errors;
}

}  // namespace

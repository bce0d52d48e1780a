// The end-to-end tests' fixture: a copy of the seeded demo root for each test, and dashel run on it
// headless with a screen profile and an input script.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "LayoutProbe.h"
#include "ProgramRun.h"
#include "TempRoot.h"

namespace dashele2e {

inline constexpr uint32_t kWhite = 0xFFFFFF;
inline constexpr uint32_t kDatePickerColour = 0xAABCDF;         // the date picker, RGB(170,188,223)
inline constexpr uint32_t kCalculatorDisplayColour = 0xCAD5EC;  // the amount display, RGB(202,213,236)
inline constexpr uint32_t kKeyboardColour = 0x4A494A;           // RGB(74,73,74), between the keys
inline constexpr uint32_t kFingerListColour = 0xAABCDF;         // the payee list, RGB(170,188,223)
inline constexpr uint32_t kTitleColour = 0xE6E6E6;              // the header's title, RGB(230,230,230)
inline constexpr uint32_t kFieldLabelColour = 0xCACACA;         // field labels, RGB(202,202,202)
inline constexpr uint32_t kNewLabelColour = 0x4871A8;           // "Нов." on the confirm-or-create strip

class DashelE2ETest : public ::testing::Test {
  protected:
    void SetUp() override;

    const std::string& root() const { return m_root->path(); }
    // Runs dashel (m_program) to its end on the root with the profile and the script text; extra variables
    // are added to its environment. Returns its exit status; output() holds what it printed.
    int runDashel(const ScreenProfile& profile, const std::string& script,
                  const std::map<std::string, std::string>& extra = {});
    // The environment of a headless dashel on the root with the profile (and the script file, if any).
    std::map<std::string, std::string> dashelEnvironment(const ScreenProfile& profile,
                                                         const std::string& scriptFile = "") const;
    std::string output() const { return readFile(root() + "/dashel.out"); }

    std::optional<platform::testing::TempRoot> m_root;
    std::string m_program = "dashel";  // what runDashel() starts: the program or a test build of it
};

// The finance manager's stand-in running on the root, logging the messages it receives to manager.log.
class ManagerE2ETest : public DashelE2ETest {
  protected:
    void SetUp() override;
    // Closes the manager through its window, so that it handles everything posted before, and
    // returns its log.
    std::string stopManager();
    std::string logPath() const { return root() + "/manager.log"; }

    std::optional<Program> m_manager;
};

// The number of times line occurs in text.
int countLines(const std::string& text, const std::string& line);

// "financestore dump TABLE" on the root: one JSON object a line.
std::vector<std::string> dumpTable(const std::string& root, const std::string& table);
// The value of the JSON line's top-level field name as written (a string without its quotes); empty
// when the line has no such field.
std::string jsonField(const std::string& line, const std::string& name);

// Builds an input script.
class Script {
  public:
    Script& tap(POINT p) { return line("tap " + std::to_string(p.x) + " " + std::to_string(p.y)); }
    Script& shot(const std::string& file) { return line("shot " + file); }
    Script& line(const std::string& text) {
        m_text << text << "\n";
        return *this;
    }
    std::string text() const { return m_text.str(); }

  private:
    std::ostringstream m_text;
};

// One line of a dump-text file.
struct TextRun {
    std::string text;
    RECT rect{};
    std::string window;
};
// The lines of a dump-text file, in order; a line that is not a text run fails the calling test.
std::vector<TextRun> readTextDump(const std::string& file);

// <build>/snapshots/<profile>/ (the system's temporary folder without a build folder), created; the
// snapshots of a profile are kept there for review.
std::string snapshotFolder(const ScreenProfile& profile);
// The rectangle shrunk by n pixels on each side (anti-aliased edges and borders stay out of checks).
RECT inset(const RECT& rect, int n);
// The share of the rectangle's pixels in the snapshot that have colour.
double shareOf(const Snapshot& snapshot, const RECT& rect, uint32_t colour);
// True when the rectangle shows the on-screen keypad: dark keys with white symbols on its grey.
bool showsKeypad(const Snapshot& snapshot, const RECT& rect);
// The number of pixels of colour inside the rectangle.
int countOf(const Snapshot& snapshot, const RECT& rect, uint32_t colour);

}  // namespace dashele2e

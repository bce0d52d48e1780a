// The Today end-to-end fixture: a copy of the seeded demo root with the programs installed by
// "financestore install", the home screen run on it headless with a screen profile and an input
// script, and the item's geometry on that profile taken from an in-process home screen.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>

#include "ProgramRun.h"
#include "TempRoot.h"
#include "platform/wingdi.h"

namespace todaye2e {

using dashele2e::Program;
using dashele2e::Snapshot;

struct Profile {
    int width;
    int height;
    int dpi;
    std::string name() const;  // "240x320@96"
};

inline constexpr Profile kProfiles[] = {
    {240, 320, 96}, {480, 640, 192}, {640, 480, 192}, {480, 800, 192}, {240, 240, 96},
};

// Where the item lies on the screen, in screen pixels.
struct ItemGeometry {
    RECT header{};  // the home screen's date line
    RECT item{};
    RECT setup{};
    RECT text{};
    RECT button{};
    POINT buttonCentre() const {
        return POINT{(button.left + button.right) / 2, (button.top + button.bottom) / 2};
    }
};

class TodayE2ETest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    const std::string& root() const { return m_root->path(); }
    // The environment of a headless program on the root with the profile and the script file.
    std::map<std::string, std::string> environment(const Profile& profile,
                                                   const std::string& scriptFile = "") const;
    // Runs the home screen to its end with the script; extra variables join its environment. Its
    // exit status; homeOutput() holds what it printed.
    int runHome(const Profile& profile, const std::string& script,
                const std::map<std::string, std::string>& extra = {});
    // Starts the home screen without a script: it runs on the real clock until closed.
    Program startHome(const Profile& profile);
    // Closes a home screen started by startHome through its window; its exit status.
    int closeHome(Program& home);
    std::string homeOutput() const { return dashele2e::readFile(root() + "/home.out"); }
    std::string itemLog() const { return dashele2e::readFile(root() + "/My Documents/BrimwellLog.txt"); }
    // The item's place on the profile's screen, from the home screen and the item run in-process.
    ItemGeometry probe(const Profile& profile);
    // A number value of the root's registry; nullopt when missing.
    std::optional<DWORD> registryNumber(bool machine, const WCHAR* key, const WCHAR* name);
    bool registrationExists();

    std::optional<platform::testing::TempRoot> m_root;
};

// The folder that keeps the snapshots of the home screen for review: <build>/snapshots/today.
std::string snapshotFolder();
// Waits (for another process, on the wall clock) until the file contains the text.
bool waitForText(const std::string& path, const std::string& text, int timeoutMs = 30000);
// Pixels of the rectangle within 40 of the colour in each component.
int countNear(const Snapshot& shot, const RECT& rect, uint32_t colour);

}  // namespace todaye2e

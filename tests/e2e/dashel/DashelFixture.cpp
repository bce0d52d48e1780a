// The end-to-end fixture: seeded roots, dashel's environment and the snapshot helpers.
#include "DashelFixture.h"

#include <fstream>

namespace dashele2e {

void DashelE2ETest::SetUp() {
    m_root.emplace();
    ASSERT_TRUE(copyDemoRoot(root())) << "financestore init --demo failed";
}

std::map<std::string, std::string> DashelE2ETest::dashelEnvironment(const ScreenProfile& profile,
                                                                    const std::string& scriptFile) const {
    std::map<std::string, std::string> environment{{"VARKEL_ROOT", root()},
                                                   {"VARKEL_DISPLAY", "headless"},
                                                   {"VARKEL_SCREEN", profile.name()},
                                                   {"VARKEL_SCRIPT", scriptFile}};
    return environment;
}

int DashelE2ETest::runDashel(const ScreenProfile& profile, const std::string& script,
                             const std::map<std::string, std::string>& extra) {
    const std::string scriptFile = root() + "/script.txt";
    std::ofstream(scriptFile) << script;
    auto environment = dashelEnvironment(profile, scriptFile);
    for (const auto& [name, value] : extra)
        environment[name] = value;
    return runProgram(programPath("dashel"), {}, environment, root() + "/dashel.out");
}

RECT inset(const RECT& rect, int n) {
    return RECT{rect.left + n, rect.top + n, rect.right - n, rect.bottom - n};
}

double shareOf(const Snapshot& snapshot, const RECT& rect, uint32_t colour) {
    return snapshot.share(rect.left, rect.top, rect.right, rect.bottom, colour);
}

int countOf(const Snapshot& snapshot, const RECT& rect, uint32_t colour) {
    long area = static_cast<long>(rect.right - rect.left) * (rect.bottom - rect.top);
    return area <= 0 ? 0
                     : static_cast<int>(shareOf(snapshot, rect, colour) * static_cast<double>(area) + 0.5);
}

}  // namespace dashele2e

// The end-to-end fixture: seeded roots, dashel's environment and the snapshot helpers.
#include "DashelFixture.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "RemoteWindows.h"
#include "platform/windows.h"

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
    return runProgram(programPath(m_program), {}, environment, root() + "/dashel.out");
}

void ManagerE2ETest::SetUp() {
    DashelE2ETest::SetUp();
    m_manager.emplace(programPath("financestore"),
                      std::vector<std::string>{"--root", root(), "manager", "--log", logPath()},
                      std::map<std::string, std::string>{{"VARKEL_DISPLAY", "headless"}},
                      root() + "/manager.out");
    ASSERT_TRUE(waitForWindow(root(), u"WCE_VarkelBrimwell")) << readFile(root() + "/manager.out");
}

std::string ManagerE2ETest::stopManager() {
    EXPECT_TRUE(postToWindow(root(), u"WCE_VarkelBrimwell", {{WM_CLOSE, 0, 0}}));
    EXPECT_EQ(m_manager->wait(), 0) << m_manager->output();
    return readFile(logPath());
}

int countLines(const std::string& text, const std::string& line) {
    int count = 0;
    for (size_t at = text.find(line); at != std::string::npos; at = text.find(line, at + 1))
        ++count;
    return count;
}

std::vector<std::string> dumpTable(const std::string& root, const std::string& table) {
    const std::string file = root + "/dump-" + table + ".json";
    EXPECT_EQ(runProgram(programPath("financestore"), {"--root", root, "dump", table}, {}, file), 0);
    std::vector<std::string> lines;
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);)
        if (!line.empty() && line[0] == '{') lines.push_back(line);
    return lines;
}

std::string jsonField(const std::string& line, const std::string& name) {
    // Field names are plain words, and no value of the dump holds the quoted name followed by ":".
    const std::string key = "\"" + name + "\":";
    const size_t at = line.find(key);
    if (at == std::string::npos) return {};
    size_t from = at + key.size();
    if (from < line.size() && line[from] == '"') {
        const size_t end = line.find('"', from + 1);
        return end == std::string::npos ? std::string() : line.substr(from + 1, end - from - 1);
    }
    const size_t end = line.find_first_of(",}", from);
    return line.substr(from, end == std::string::npos ? std::string::npos : end - from);
}

std::vector<TextRun> readTextDump(const std::string& file) {
    static const std::string kText = "{\"text\": \"", kRect = "\", \"rect\": [",
                             kWindow = "], \"window\": \"";
    std::vector<TextRun> runs;
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);) {
        size_t rect = line.find(kRect);
        size_t window = line.find(kWindow);
        TextRun run;
        int values[4] = {};
        bool ok = line.rfind(kText, 0) == 0 && rect != std::string::npos && window != std::string::npos &&
                  line.size() >= window + kWindow.size() + 2 &&
                  std::sscanf(line.c_str() + rect + kRect.size(), "%d, %d, %d, %d", &values[0], &values[1],
                              &values[2], &values[3]) == 4;
        if (!ok) {
            ADD_FAILURE() << "not a text line: " << line;
            continue;
        }
        run.text = line.substr(kText.size(), rect - kText.size());
        run.rect = RECT{values[0], values[1], values[2], values[3]};
        run.window = line.substr(window + kWindow.size(), line.size() - window - kWindow.size() - 2);
        runs.push_back(std::move(run));
    }
    return runs;
}

std::string snapshotFolder(const ScreenProfile& profile) {
    const char* dir = std::getenv("VARKEL_BINARY_DIR");
    std::filesystem::path base = (dir != nullptr && *dir != '\0') ? std::filesystem::path(dir)
                                                                  : std::filesystem::temp_directory_path();
    std::filesystem::path folder = base / "snapshots" / profile.name();
    std::filesystem::create_directories(folder);
    return folder.string();
}

RECT inset(const RECT& rect, int n) {
    return RECT{rect.left + n, rect.top + n, rect.right - n, rect.bottom - n};
}

double shareOf(const Snapshot& snapshot, const RECT& rect, uint32_t colour) {
    return snapshot.share(rect.left, rect.top, rect.right, rect.bottom, colour);
}

bool showsKeypad(const Snapshot& snapshot, const RECT& rect) {
    // Dark keys with white symbols on the keyboard's grey: nearly every pixel dark, some white, and
    // the grey between the keys.
    long dark = 0, white = 0, area = 0;
    for (LONG y = rect.top; y < rect.bottom; ++y)
        for (LONG x = rect.left; x < rect.right; ++x, ++area) {
            uint32_t c = snapshot.at(static_cast<int>(x), static_cast<int>(y));
            int luminance = (((c >> 16) & 0xFF) * 299 + ((c >> 8) & 0xFF) * 587 + (c & 0xFF) * 114) / 1000;
            dark += luminance < 110 ? 1 : 0;
            white += c == kWhite ? 1 : 0;
        }
    return area > 0 && dark * 100 > area * 85 && white > 20 && countOf(snapshot, rect, kKeyboardColour) > 20;
}

int countOf(const Snapshot& snapshot, const RECT& rect, uint32_t colour) {
    long area = static_cast<long>(rect.right - rect.left) * (rect.bottom - rect.top);
    return area <= 0 ? 0
                     : static_cast<int>(shareOf(snapshot, rect, colour) * static_cast<double>(area) + 0.5);
}

}  // namespace dashele2e

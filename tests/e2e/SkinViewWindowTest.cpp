// End to end in a real window: skinview runs with the SDL presenter on an X server of its own
// (xvfb-run), an input script taps the toggle, holds a strip button and takes a snapshot, and the
// snapshot shows the program's skins in those states. Skipped where xvfb-run is not installed.
#include <gtest/gtest.h>
#include <png.h>
#include <sys/wait.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "TempRoot.h"

namespace {

namespace fs = std::filesystem;

// An RGB snapshot read back from its PNG file.
struct Snapshot {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;
    int luminance(int x, int y) const {
        const uint8_t* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
        return (p[0] * 299 + p[1] * 587 + p[2] * 114) / 1000;
    }
    bool is(int x, int y, uint8_t r, uint8_t g, uint8_t b) const {
        const uint8_t* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
        return p[0] == r && p[1] == g && p[2] == b;
    }
};

bool readPng(const std::string& path, Snapshot* out) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
    image.format = PNG_FORMAT_RGB;
    out->width = static_cast<int>(image.width);
    out->height = static_cast<int>(image.height);
    out->rgb.resize(PNG_IMAGE_SIZE(image));
    bool ok = png_image_finish_read(&image, nullptr, out->rgb.data(), 0, nullptr) != 0;
    png_image_free(&image);
    return ok;
}

std::string quoted(const std::string& text) {
    std::string out = "'";
    for (char c : text)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

std::string programPath(const std::string& name) {
    const char* dir = std::getenv("VARKEL_BINARY_DIR");
    if (dir != nullptr && *dir != '\0') return std::string(dir) + "/bin/" + name;
    std::error_code error;
    return (fs::read_symlink("/proc/self/exe", error).parent_path() / name).string();
}

std::string readAll(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// On the 240x320 screen at 96 dpi the board lays out: header bar 0..18, field rows of 40 from 18
// with the toggle at 218..240 x 18..40, the form strip at 181..214 with buttons 0..101, 101..195
// and 195..240.
constexpr const char* kScript =
    "# the toggle flips on, the first strip button is held while the snapshot is taken\n"
    "tap 229 29\n"
    "down 40 186\n"
    "shot {SHOT}\n"
    "up 40 186\n"
    "quit\n";

TEST(SkinViewWindow, ScriptDrivesTheSdlWindowAndTheSnapshotShowsTheSkins) {
    if (std::system("command -v xvfb-run >/dev/null 2>&1") != 0) GTEST_SKIP() << "xvfb-run is not installed";
    platform::testing::TempRoot root;
    fs::path folder = root.path();
    std::string shot = (folder / "shot.png").string();
    std::string script = kScript;
    script.replace(script.find("{SHOT}"), 6, shot);
    std::ofstream(folder / "script.txt") << script;
    // The program is stopped after a minute should it hang. The X and SDL libraries keep allocations
    // until exit, which are not the program's to free.
    std::string command =
        "xvfb-run -a timeout -k 5 60 env VARKEL_DISPLAY=sdl VARKEL_SCREEN=240x320@96 VARKEL_SCRIPT=" +
        quoted((folder / "script.txt").string()) + " ASAN_OPTIONS=detect_leaks=0 " +
        quoted(programPath("skinview")) + " >" + quoted((folder / "out.txt").string()) + " 2>&1";
    int status = std::system(command.c_str());
    std::string output = readAll(folder / "out.txt");
    if (output.find("Xvfb failed to start") != std::string::npos) GTEST_SKIP() << "no X server: " << output;
    ASSERT_TRUE(status != -1 && WIFEXITED(status)) << output;
    ASSERT_EQ(WEXITSTATUS(status), 0) << output;
    EXPECT_EQ(output.find("headless"), std::string::npos) << "ran in a window: " << output;

    Snapshot s;
    ASSERT_TRUE(readPng(shot, &s)) << output;
    ASSERT_EQ(s.width, 240);
    ASSERT_EQ(s.height, 320);
    EXPECT_GT(s.luminance(223, 23), 200) << "the toggle shows its on look";
    EXPECT_GT(s.luminance(8, 185), s.luminance(109, 185) + 20) << "the held button shows its pressed look";
    int title = 0;
    for (int y = 0; y < 18; ++y)
        for (int x = 150; x < 240; ++x)
            title += s.is(x, y, 230, 230, 230) ? 1 : 0;
    EXPECT_GT(title, 10) << "the header title in RGB(230,230,230)";
}

}  // namespace

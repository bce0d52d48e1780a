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

#include "SkinBoard.h"
#include "TempRoot.h"
#include "UserTesting.h"
#include "platform/resources.h"
#include "resources/DashelResources.h"

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
    return platform::testing::builtProgram(name);
}

std::string readAll(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Where the board puts its parts on the 240x320 screen at 96 dpi, from its own layout in this
// process (headless), so that the script and the checks follow the skins' sizes.
struct BoardPoints {
    POINT toggle;  // the centre of the toggle
    POINT held;    // on the face of the strip's first button, clear of its label
    POINT other;   // the same place on the second button
    RECT title;
};

BoardPoints boardPoints() {
    platform::testing::WindowTestScope scope(240, 320, 96);
    HINSTANCE module = GetModuleHandleW(nullptr);
    BoardPoints points{};
    if (!platform::registerModuleResources(module, dashelResourceTable())) return points;
    {
        skinview::SkinBoard board;
        if (board.create(module)) {
            RECT t = board.toggleRect(), b0 = board.buttonRect(0), b1 = board.buttonRect(1);
            points.toggle = POINT{(t.left + t.right) / 2, (t.top + t.bottom) / 2};
            points.held = POINT{b0.left + 8, b0.top + 4};
            points.other = POINT{b1.left + 8, b1.top + 4};
            points.title = board.titleRect();
        }
    }
    platform::unregisterModuleResources(module);
    return points;
}

std::string scriptFor(const BoardPoints& p, const std::string& shot) {
    std::ostringstream out;
    out << "# the toggle flips on, the first strip button is held while the snapshot is taken\n"
        << "tap " << p.toggle.x << " " << p.toggle.y << "\n"
        << "down " << p.held.x << " " << p.held.y << "\n"
        << "shot " << shot << "\n"
        << "up " << p.held.x << " " << p.held.y << "\n"
        << "quit\n";
    return out.str();
}

TEST(SkinViewWindow, ScriptDrivesTheSdlWindowAndTheSnapshotShowsTheSkins) {
    if (std::system("command -v xvfb-run >/dev/null 2>&1") != 0) GTEST_SKIP() << "xvfb-run is not installed";
    platform::testing::TempRoot root;
    fs::path folder = root.path();
    std::string shot = (folder / "shot.png").string();
    BoardPoints p = boardPoints();
    ASSERT_GT(p.toggle.x, 0) << "the board cannot be laid out";
    std::ofstream(folder / "script.txt") << scriptFor(p, shot);
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
    EXPECT_GT(s.luminance(p.toggle.x - 6, p.toggle.y - 6), 200) << "the toggle shows its on look";
    EXPECT_GT(s.luminance(p.held.x, p.held.y), s.luminance(p.other.x, p.other.y) + 20)
        << "the held button shows its pressed look";
    int title = 0;
    for (int y = p.title.top; y < p.title.bottom; ++y)
        for (int x = p.title.left; x < p.title.right; ++x)
            title += s.is(x, y, 230, 230, 230) ? 1 : 0;
    EXPECT_GT(title, 10) << "the header title in RGB(230,230,230)";
}

}  // namespace

// The payee list of the built program on every screen profile: a script flicks it, and the texts it
// dumps show the rows moving on after the finger lifts and then resting as whole rows on the row
// grid; a tap on a shown payee confirms it (the program goes on to the field panel), and the keypad
// is drawn below or beside it. Snapshots of the list mid-flick and at rest are kept for review.
#include <cstdio>
#include <fstream>

#include "DashelFixture.h"
#include "ShellCommands.h"

namespace dashele2e {
namespace {

using namespace shell;

const ScreenProfile kProfiles[] = {
    {240, 320, 96}, {480, 640, 192}, {640, 480, 192}, {480, 800, 192}, {240, 240, 96}};

struct Row {
    std::string text;
    RECT rect;
};

// The text, rectangle and window of one dumped line; false when the line is not one.
bool parseLine(const std::string& line, Row& row, std::string& window) {
    static const std::string kText = "{\"text\": \"", kRect = "\", \"rect\": [",
                             kWindow = "], \"window\": \"";
    size_t rect = line.find(kRect);
    size_t windowAt = line.find(kWindow);
    if (line.rfind(kText, 0) != 0 || rect == std::string::npos || windowAt == std::string::npos) return false;
    row.text = line.substr(kText.size(), rect - kText.size());
    int values[4] = {};
    if (std::sscanf(line.c_str() + rect + kRect.size(), "%d, %d, %d, %d", &values[0], &values[1], &values[2],
                    &values[3]) != 4)
        return false;
    row.rect = RECT{values[0], values[1], values[2], values[3]};
    window = line.substr(windowAt + kWindow.size());
    if (window.size() < 2 || window.compare(window.size() - 2, 2, "\"}") != 0) return false;
    window.resize(window.size() - 2);
    return true;
}

// The dumped texts of the list's rows that lie within the rows' rectangle.
std::vector<Row> rowsIn(const std::string& file, const RECT& rows) {
    std::vector<Row> found;
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);) {
        Row row;
        std::string window;
        if (!parseLine(line, row, window)) {
            ADD_FAILURE() << "not a text line: " << line;
            continue;
        }
        if (row.rect.top >= rows.top && row.rect.bottom <= rows.bottom && window == "FingerList/FingerList")
            found.push_back(row);
    }
    return found;
}

std::string point(int x, int y) {
    return std::to_string(x) + " " + std::to_string(y);
}

class FingerListFlickTest : public DashelE2ETest, public ::testing::WithParamInterface<ScreenProfile> {};

TEST_P(FingerListFlickTest, AFlickScrollsOnAndRestsOnWholeRows) {
    const ScreenProfile profile = GetParam();
    const std::string folder = snapshotFolder(profile);
    View view = probeView(profile, kPageEntry, EntryMode::Payees);
    ASSERT_TRUE(view.payeeRows.visible);
    const RECT rows = view.payeeRows.rect;
    const int rowHeight = view.payeeRowHeight;
    const int x = rows.left + (rows.right - rows.left) / 3;
    // Three rows up in 60 ms of the virtual clock.
    Script script;
    script.line("dump-text " + root() + "/before.json")
        .line("drag " + point(x, rows.top + 4 * rowHeight + rowHeight / 2) + " " +
              point(x, rows.top + rowHeight + rowHeight / 2) + " 60")
        .line("wait 100")
        .shot(folder + "/list-mid-flick.png")
        .line("dump-text " + root() + "/mid.json")
        .line("wait 3000")
        .shot(folder + "/list-at-rest.png")
        .line("dump-text " + root() + "/rest.json");
    ASSERT_EQ(runDashel(profile, script.line("quit").text()), 0) << output();

    std::vector<Row> before = rowsIn(root() + "/before.json", rows);
    std::vector<Row> mid = rowsIn(root() + "/mid.json", rows);
    std::vector<Row> rest = rowsIn(root() + "/rest.json", rows);
    ASSERT_EQ(before.size(), 5u);
    ASSERT_EQ(rest.size(), 5u) << "five whole rows at rest";
    EXPECT_NE(rest.front().text, before.front().text) << "the list scrolled";
    bool moving = mid.size() != rest.size();
    for (size_t i = 0; !moving && i < mid.size(); ++i)
        moving = mid[i].text != rest[i].text || mid[i].rect.top != rest[i].rect.top;
    EXPECT_TRUE(moving) << "100 ms after the finger lifted the rows were still moving";
    for (size_t i = 0; i < rest.size(); ++i) {
        // Each row's text is centred in its own cell of the row grid.
        int centre = (rest[i].rect.top + rest[i].rect.bottom) / 2 - rows.top;
        EXPECT_NEAR(centre, static_cast<int>(i) * rowHeight + rowHeight / 2, 1) << rest[i].text;
        if (i > 0) {
            EXPECT_EQ(rest[i].rect.top - rest[i - 1].rect.top, rowHeight) << rest[i].text;
        }
    }
    Snapshot shot;
    ASSERT_TRUE(shot.load(folder + "/list-at-rest.png"));
    if (view.keyboard.visible) {
        EXPECT_TRUE(showsKeypad(shot, view.keyboard.rect));
    }
}

TEST_P(FingerListFlickTest, ATapOnAShownPayeeConfirmsIt) {
    const ScreenProfile profile = GetParam();
    Script script;
    script.line("tap-text Bookstore")
        .line("wait 300")
        .line("dump-text " + root() + "/after.json")
        .line("quit");
    ASSERT_EQ(runDashel(profile, script.text()), 0) << output();
    // The confirmation went on to the field panel, whose payee field shows the payee.
    std::string after = readFile(root() + "/after.json");
    size_t payee = after.find("{\"text\": \"Bookstore\"");
    ASSERT_NE(payee, std::string::npos) << after;
    EXPECT_EQ(after.substr(after.find('\n', payee) - 23, 23), "\"window\": \"FieldPanel\"}") << after;
    EXPECT_EQ(after.find("FingerList"), std::string::npos) << after;
}

INSTANTIATE_TEST_SUITE_P(Profiles, FingerListFlickTest, ::testing::ValuesIn(kProfiles), [](const auto& info) {
    return "w" + std::to_string(info.param.width) + "h" + std::to_string(info.param.height);
});

}  // namespace
}  // namespace dashele2e

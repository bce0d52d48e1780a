// Parsing input scripts: every command, comments and blank lines, and errors naming file and line.

#include <gtest/gtest.h>

#include <sstream>

#include "../../../platform/display/InputScript.h"
#include "platform/winuser.h"

using platform::display::ParsedScript;
using platform::display::parseScript;
using platform::display::ScriptOp;

namespace {

ParsedScript parse(const std::string& text) {
    std::istringstream in(text);
    return parseScript(in, "demo.script");
}

TEST(InputScriptParse, EveryCommand) {
    ParsedScript s = parse(
        "# a whole-line comment\n"
        "\n"
        "tap 10 20\n"
        "down 1 2   # trailing comment\n"
        "move 3 4\n"
        "up 5 6\n"
        "key UP\nkey DOWN\nkey LEFT\nkey RIGHT\nkey RETURN\nkey BACK\n"
        "key a\nkey Q\nkey 7\nkey .\n"
        "char Привет # мир\n"
        "wait 250\n"
        "rotate\n"
        "answer OK\nanswer CANCEL\nanswer YES\nanswer NO\n"
        "shot out/first.png\n"
        "quit\n");
    ASSERT_EQ(s.error, "");
    ASSERT_EQ(s.commands.size(), 23u);
    EXPECT_EQ(s.commands[0].op, ScriptOp::Tap);
    EXPECT_EQ(s.commands[0].line, 3);
    EXPECT_EQ(s.commands[0].x, 10);
    EXPECT_EQ(s.commands[0].y, 20);
    EXPECT_EQ(s.commands[1].op, ScriptOp::Down);
    EXPECT_EQ(s.commands[2].op, ScriptOp::Move);
    EXPECT_EQ(s.commands[3].op, ScriptOp::Up);
    EXPECT_EQ(s.commands[3].y, 6);
    const UINT keys[] = {VK_UP,     VK_DOWN, VK_LEFT, VK_RIGHT, VK_RETURN,
                         VK_ESCAPE, 'A',     'Q',     '7',      VK_OEM_PERIOD};
    for (size_t i = 0; i < std::size(keys); ++i) {
        EXPECT_EQ(s.commands[4 + i].op, ScriptOp::Key);
        EXPECT_EQ(s.commands[4 + i].key, keys[i]) << i;
    }
    EXPECT_FALSE(s.commands[10].shift);
    EXPECT_TRUE(s.commands[11].shift);
    EXPECT_EQ(s.commands[14].op, ScriptOp::Char);
    EXPECT_EQ(s.commands[14].text, u"Привет # мир");
    EXPECT_EQ(s.commands[15].op, ScriptOp::Wait);
    EXPECT_EQ(s.commands[15].milliseconds, 250u);
    EXPECT_EQ(s.commands[16].op, ScriptOp::Rotate);
    const int answers[] = {IDOK, IDCANCEL, IDYES, IDNO};
    for (size_t i = 0; i < 4; ++i)
        EXPECT_EQ(s.commands[17 + i].answer, answers[i]);
    EXPECT_EQ(s.commands[21].op, ScriptOp::Shot);
    EXPECT_EQ(s.commands[21].file, "out/first.png");
    EXPECT_EQ(s.commands[22].op, ScriptOp::Quit);
}

TEST(InputScriptParse, BackspaceIsTheKeyboardsBackspaceKey) {
    ParsedScript s = parse("key BACKSPACE\n");
    ASSERT_EQ(s.error, "");
    ASSERT_EQ(s.commands.size(), 1u);
    EXPECT_EQ(s.commands[0].op, ScriptOp::Key);
    EXPECT_EQ(s.commands[0].key, static_cast<UINT>(VK_BACK));
}

TEST(InputScriptParse, MalformedLinesStopWithFileAndLine) {
    struct Case {
        const char* line;
        const char* message;
    };
    const Case cases[] = {
        {"tap 10", "\"tap\" needs two pixel coordinates X Y"},
        {"tap 10 -2", "\"tap\" needs two pixel coordinates X Y"},
        {"move x 2", "\"move\" needs two pixel coordinates X Y"},
        {"key", "\"key\" needs one key name"},
        {"key ENTER", "unknown key \"ENTER\""},
        {"key ~", "no device key types \"~\""},
        {"wait", "\"wait\" needs milliseconds (0 to 86400000)"},
        {"wait 99999999999", "\"wait\" needs milliseconds (0 to 86400000)"},
        {"answer MAYBE", "\"answer\" needs one of OK, CANCEL, YES, NO"},
        {"shot", "\"shot\" needs one file name (without spaces)"},
        {"rotate 90", "\"rotate\" takes no arguments"},
        {"jump 1 2", "unknown command \"jump\""},
        {"char", "\"char\" needs text"},
        {"tap-text", "\"tap-text\" needs text"},
        {"tap-window   ", "\"tap-window\" needs text"},
        {"dump-text", "\"dump-text\" needs one file name (without spaces)"},
        {"drag 1 2 3 4", "\"drag\" needs X1 Y1 X2 Y2 in pixels and the milliseconds it takes"},
        {"drag 1 2 3 -4 50", "\"drag\" needs X1 Y1 X2 Y2 in pixels and the milliseconds it takes"},
    };
    for (const Case& c : cases) {
        ParsedScript s = parse(std::string("tap 1 1\n# note\n") + c.line + "\ntap 2 2\n");
        EXPECT_EQ(s.error, std::string("demo.script:3: ") + c.message) << c.line;
        ASSERT_EQ(s.commands.size(), 1u) << "the lines before the error are kept";
    }
}

TEST(InputScriptParse, CommandsThatTapWhatIsShownAndDrag) {
    ParsedScript s = parse(
        "tap-text Зап. & Новый # not a comment\n"
        "tap-window Keyboard/5  \n"
        "tap-window #12\n"
        "dump-text out/texts.json\n"
        "drag 10 200 12 60 80 # a flick\n");
    ASSERT_EQ(s.error, "");
    ASSERT_EQ(s.commands.size(), 5u);
    EXPECT_EQ(s.commands[0].op, ScriptOp::TapText);
    EXPECT_EQ(s.commands[0].text, u"Зап. & Новый # not a comment") << "the whole rest of the line";
    EXPECT_EQ(s.commands[1].op, ScriptOp::TapWindow);
    EXPECT_EQ(s.commands[1].text, u"Keyboard/5") << "trailing blanks are dropped";
    EXPECT_EQ(s.commands[2].text, u"#12");
    EXPECT_EQ(s.commands[3].op, ScriptOp::DumpText);
    EXPECT_EQ(s.commands[3].file, "out/texts.json");
    EXPECT_EQ(s.commands[4].op, ScriptOp::Drag);
    EXPECT_EQ(s.commands[4].x, 10);
    EXPECT_EQ(s.commands[4].y, 200);
    EXPECT_EQ(s.commands[4].toX, 12);
    EXPECT_EQ(s.commands[4].toY, 60);
    EXPECT_EQ(s.commands[4].milliseconds, 80u);
}

TEST(InputScriptParse, MissingFileIsNamed) {
    ParsedScript s = platform::display::loadScript("/nonexistent/folder/x.script");
    EXPECT_EQ(s.error, "/nonexistent/folder/x.script: cannot read the input script");
    EXPECT_TRUE(s.commands.empty());
}

}  // namespace

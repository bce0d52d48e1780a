// Scripts that tap what a user sees: dump-text lists the text showing on the screen with the
// windows it lies in, tap-text and tap-window tap the centre of a text or a window and stop the
// script when it is missing or ambiguous, hidden windows' texts are gone, and drag moves the stylus
// in 10 ms steps of the virtual clock.

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

#include "../../../platform/display/InputScript.h"
#include "../../../platform/display/ScreenText.h"
#include "TempRoot.h"
#include "UserTesting.h"
#include "platform/windows.h"

namespace {

using namespace platform::display;

struct Stylus {
    UINT message;
    HWND window;
    POINT point;  // screen coordinates
    DWORD tick;
};

std::vector<Stylus>& stylus() {
    static std::vector<Stylus> all;
    return all;
}

// What each test window shows: one line of text at the top-left of its client area.
std::map<HWND, std::u16string>& shownTextOf() {
    static std::map<HWND, std::u16string> all;
    return all;
}

LRESULT CALLBACK textProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_LBUTTONDOWN || message == WM_LBUTTONUP || message == WM_MOUSEMOVE) {
        POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ClientToScreen(window, &point);
        stylus().push_back({message, window, point, GetTickCount()});
    }
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        RECT client;
        GetClientRect(window, &client);
        FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        const std::u16string& text = shownTextOf()[window];
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &client, DT_SINGLELINE | DT_NOPREFIX);
        EndPaint(window, &ps);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

class ScreenTextTest : public ::testing::Test {
  protected:
    void SetUp() override {
        stylus().clear();
        shownTextOf().clear();
        WNDCLASSW cls{};
        cls.lpfnWndProc = textProc;
        cls.lpszClassName = u"ScreenTextWnd";
        RegisterClassW(&cls);
        m_main = make(nullptr, u"Main", 0, RECT{0, 0, 240, 320}, u"");
        m_panel = make(m_main, u"Panel", 0, RECT{10, 10, 230, 150}, u"");
        m_label = make(m_panel, u"Label", 5, RECT{0, 0, 100, 30}, u"Записать");
        m_twin = make(m_panel, u"", 6, RECT{0, 40, 100, 70}, u"Twice");
        m_other = make(m_main, u"Other", 7, RECT{10, 200, 230, 240}, u"Twice");
        m_otherLabel = make(m_other, u"Label", 8, RECT{150, 0, 220, 40}, u"");
        platform::testing::pumpMessages();
    }
    void TearDown() override { stopScript(); }

    HWND make(HWND parent, const char16_t* name, int id, RECT rect, const char16_t* text) {
        DWORD style = parent != nullptr ? WS_CHILD | WS_VISIBLE : WS_POPUP | WS_VISIBLE;
        HWND window = CreateWindowExW(0, u"ScreenTextWnd", name, style, rect.left, rect.top,
                                      rect.right - rect.left, rect.bottom - rect.top, parent,
                                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
        shownTextOf()[window] = text;
        return window;
    }

    // Runs the script to its end; returns WM_QUIT's code.
    int run(const std::string& text) {
        std::istringstream in(text);
        m_start = GetTickCount();
        EXPECT_TRUE(runScript(parseScript(in, "test.script"), ScriptHooks{}));
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        return static_cast<int>(msg.wParam);
    }

    std::vector<Stylus> of(UINT message) const {
        std::vector<Stylus> out;
        for (const Stylus& s : stylus())
            if (s.message == message) out.push_back(s);
        return out;
    }

    platform::testing::WindowTestScope m_scope;
    HWND m_main = nullptr, m_panel = nullptr, m_label = nullptr, m_twin = nullptr, m_other = nullptr,
         m_otherLabel = nullptr;
    DWORD m_start = 0;
};

TEST_F(ScreenTextTest, TheShownTextsAndTheirWindowsAreDumpedOneJsonObjectALine) {
    std::vector<ShownText> shown = shownTexts();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].text, u"Записать");
    EXPECT_EQ(shown[0].window, u"Panel/Label");
    EXPECT_EQ(shown[0].rect.left, 10);
    EXPECT_EQ(shown[0].rect.top, 10);
    EXPECT_EQ(shown[1].window, u"Panel/#6") << "a window without a name is named by its id";
    EXPECT_EQ(shown[2].window, u"Other");

    platform::testing::TempRoot root;
    std::string file = root.path() + "/texts.json";
    EXPECT_EQ(run("dump-text " + file + "\nquit\n"), 0);
    std::ifstream in(file);
    std::string first;
    std::getline(in, first);
    char expected[200];
    std::snprintf(expected, sizeof expected,
                  "{\"text\": \"Записать\", \"rect\": [10, 10, %d, %d], \"window\": \"Panel/Label\"}",
                  static_cast<int>(shown[0].rect.right), static_cast<int>(shown[0].rect.bottom));
    EXPECT_EQ(first, expected);
}

TEST_F(ScreenTextTest, TapTextAndTapWindowTapTheCentreOfWhatTheyName) {
    EXPECT_EQ(run("tap-text Записать\ntap-window Panel/#6\ntap-window Other/Label\nquit\n"), 0);
    std::vector<Stylus> downs = of(WM_LBUTTONDOWN);
    ASSERT_EQ(downs.size(), 3u);
    ShownText label = shownTexts()[0];
    EXPECT_EQ(downs[0].window, m_label);
    EXPECT_EQ(downs[0].point.x, (label.rect.left + label.rect.right) / 2);
    EXPECT_EQ(downs[0].point.y, (label.rect.top + label.rect.bottom) / 2);
    EXPECT_EQ(downs[1].window, m_twin);
    EXPECT_EQ(downs[1].point.x, 60);
    EXPECT_EQ(downs[1].point.y, 65);
    EXPECT_EQ(downs[2].window, m_otherLabel);
}

TEST_F(ScreenTextTest, MissingOrAmbiguousTargetsStopTheScript) {
    EXPECT_EQ(run("tap-text Nowhere\ntap 20 20\n"), 2);
    EXPECT_EQ(run("tap-text Twice\ntap 20 20\n"), 2) << "shown twice";
    EXPECT_EQ(run("tap-window Panel/Missing\n"), 2);
    EXPECT_EQ(run("tap-window Label\n"), 2) << "two windows named Label";
    EXPECT_TRUE(stylus().empty()) << "nothing after the failing line runs";
    ShowWindow(m_label, SW_HIDE);
    EXPECT_EQ(run("tap-text Записать\n"), 2) << "a hidden window's text is gone";
    EXPECT_EQ(run("tap-window Panel/Label\n"), 2);
}

TEST_F(ScreenTextTest, DragMovesTheStylusIn10MsStepsAndLiftsAtTheEnd) {
    EXPECT_EQ(run("drag 20 100 20 40 60\nquit\n"), 0);
    std::vector<Stylus> downs = of(WM_LBUTTONDOWN), moves = of(WM_MOUSEMOVE), ups = of(WM_LBUTTONUP);
    ASSERT_EQ(downs.size(), 1u);
    ASSERT_EQ(ups.size(), 1u);
    ASSERT_EQ(moves.size(), 6u);
    for (size_t i = 0; i < moves.size(); ++i) {
        EXPECT_EQ(moves[i].tick - downs[0].tick, 10 * (i + 1)) << i;
        EXPECT_EQ(moves[i].point.y, 100 - 10 * static_cast<int>(i + 1)) << i;
    }
    EXPECT_EQ(ups[0].tick - downs[0].tick, 60u);
    EXPECT_EQ(ups[0].point.y, 40);
}

}  // namespace

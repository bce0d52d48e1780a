// The dialog button and label: the button's size from its text (minimum width, odd height), its
// drawn frame, corners, face and held look, its stylus handling with and without the drop-down icon;
// the label's alignment, shadow, opaque fill and the parent's static-control brush.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <vector>

#include "DialogButton.h"
#include "DialogLabel.h"
#include "ScreenMetrics.h"
#include "Str.h"
#include "UserTesting.h"
#include "platform/resources.h"
#include "platform/windows.h"
#include "resources/DashelResources.h"

namespace shelltest {
namespace {

using platform::testing::screenPixel;
using shell::DialogButton;
using shell::DialogLabel;

constexpr COLORREF kParentGround = RGB(0, 128, 0);

// The parent: answers the labels' colour request with its green brush and keeps the commands its
// children send.
struct Parent {
    static LRESULT CALLBACK proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_CTLCOLORSTATIC) return reinterpret_cast<LRESULT>(brush);
        if (message == WM_COMMAND) commands.push_back({LOWORD(wParam), reinterpret_cast<HWND>(lParam)});
        return DefWindowProcW(window, message, wParam, lParam);
    }
    struct Command {
        UINT id;
        HWND from;
    };
    static inline HBRUSH brush = nullptr;
    static inline std::vector<Command> commands;
};

class DialogControlsTest : public ::testing::TestWithParam<int> {
  protected:
    void SetUp() override {
        int dpi = GetParam();
        m_scope.emplace(dpi == 96 ? 240 : 480, dpi == 96 ? 320 : 640, dpi);
        m_module = GetModuleHandleW(nullptr);
        ASSERT_TRUE(platform::registerModuleResources(m_module, dashelResourceTable()));
        Str::setResourceModule(m_module);
        initScreenMetrics();
        Parent::brush = CreateSolidBrush(kParentGround);
        Parent::commands.clear();
        WNDCLASSW cls{};
        cls.lpfnWndProc = Parent::proc;
        cls.lpszClassName = u"DialogControlsParent";
        cls.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        RegisterClassW(&cls);
        m_parent = CreateWindowExW(0, u"DialogControlsParent", u"parent", WS_POPUP | WS_VISIBLE, 0, 0,
                                   scaleX(240), scaleY(320), nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(m_parent, nullptr);
    }
    void TearDown() override {
        m_buttons.clear();
        m_labels.clear();
        DestroyWindow(m_parent);
        UnregisterClassW(u"DialogControlsParent", nullptr);
        DeleteObject(Parent::brush);
        m_scope.reset();
    }
    DialogButton& button(const char16_t* text, UINT id = 7) {
        m_buttons.push_back(std::make_unique<DialogButton>());
        EXPECT_TRUE(m_buttons.back()->create(m_parent, text, POINT{scaleX(10), scaleY(10)}, id));
        return *m_buttons.back();
    }
    DialogLabel& label(const char16_t* text, DWORD style) {
        m_labels.push_back(std::make_unique<DialogLabel>());
        RECT rect{scaleX(10), scaleY(100), scaleX(210), scaleY(124)};
        EXPECT_TRUE(m_labels.back()->create(text, m_parent, style, rect, 9));
        return *m_labels.back();
    }
    static SIZE sizeOf(HWND window) {
        RECT rect{};
        GetWindowRect(window, &rect);
        return SIZE{rect.right - rect.left, rect.bottom - rect.top};
    }
    static RECT rectOf(HWND window) {
        RECT rect{};
        GetWindowRect(window, &rect);
        return rect;
    }

    std::optional<platform::testing::WindowTestScope> m_scope;
    HINSTANCE m_module = nullptr;
    HWND m_parent = nullptr;
    std::vector<std::unique_ptr<DialogButton>> m_buttons;
    std::vector<std::unique_ptr<DialogLabel>> m_labels;
};

TEST_P(DialogControlsTest, AButtonSizesToItsTextWithinItsMinimumsAndIsAlwaysOddInHeight) {
    DialogButton& ok = button(u"OK");
    SIZE size = sizeOf(ok.window());
    EXPECT_EQ(size.cx, scaleX(60));
    EXPECT_GE(size.cy, scaleY(20));
    EXPECT_EQ(size.cy % 2, 1);

    DialogButton& wide = button(u"A rather long button text");
    HDC hdc = GetDC(wide.window());
    HGDIOBJ previous = SelectObject(hdc, sharedFont(6));
    SIZE text{};
    GetTextExtentPoint32W(hdc, u"A rather long button text", 25, &text);
    SelectObject(hdc, previous);
    ReleaseDC(wide.window(), hdc);
    EXPECT_EQ(sizeOf(wide.window()).cx, text.cx + 2 * scaleX(6));
    ASSERT_TRUE(wide.setIcon(true));
    EXPECT_EQ(sizeOf(wide.window()).cx, text.cx + 2 * scaleX(6) + scaleX(8)) << "the icon adds its width";

    // A font of even height: the button gains a pixel.
    for (int height : {20, 21, 30, 31}) {
        HFONT font = CreateFontW(-height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0,
                                 0, u"Tahoma");
        wide.setFont(font);
        SIZE tall = sizeOf(wide.window());
        EXPECT_EQ(tall.cy % 2, 1) << height;
        EXPECT_GE(tall.cy, height + 2 * scaleY(2)) << height;
        wide.setFont(nullptr);
        DeleteObject(font);
    }
    RECT moved = rectOf(wide.window());
    EXPECT_EQ(moved.left, scaleX(10)) << "sizing keeps the position";
}

TEST_P(DialogControlsTest, AButtonDrawsItsCornersFrameBandAndGradientFace) {
    DialogButton& ok = button(u"OK");
    ok.setBackgroundColor(RGB(255, 0, 255));
    platform::testing::pumpMessages();
    RECT r = rectOf(ok.window());
    auto at = [&](int x, int y) { return screenPixel(r.left + x, r.top + y); };
    const int w = r.right - r.left, h = r.bottom - r.top;
    EXPECT_EQ(at(0, 0), RGB(255, 0, 255));
    EXPECT_EQ(at(w - 1, 0), RGB(255, 0, 255));
    EXPECT_EQ(at(w - 1, h - 1), RGB(255, 0, 255));
    EXPECT_EQ(at(0, h - 1), RGB(255, 0, 255));
    EXPECT_EQ(at(1, 0), RGB(0, 0, 0));
    EXPECT_EQ(at(0, h / 2), RGB(0, 0, 0));
    EXPECT_EQ(at(w - 1, h / 2), RGB(0, 0, 0));
    EXPECT_EQ(at(w / 2, h - 1), RGB(0, 0, 0));
    EXPECT_EQ(at(1, 1), RGB(255, 255, 255));
    EXPECT_EQ(at(2, 2), RGB(242, 242, 242));
    EXPECT_EQ(at(1, 3), RGB(242, 242, 242));
    EXPECT_EQ(at(3, 3), RGB(215, 215, 215)) << "the face's first row";
    EXPECT_EQ(at(3, h - 2), RGB(180, 180, 180)) << "the face's last row";
    // The face darkens row by row.
    for (int y = 4; y < h - 1; ++y)
        EXPECT_LE(GetRValue(at(3, y)), GetRValue(at(3, y - 1))) << y;

    POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    platform::testing::stylusDown(centre.x, centre.y);
    platform::testing::pumpMessages();
    EXPECT_TRUE(ok.held());
    EXPECT_EQ(at(1, 1), RGB(133, 133, 133));
    EXPECT_EQ(at(2, 2), RGB(173, 173, 173));
    EXPECT_EQ(at(1, h / 2), RGB(173, 173, 173));
    EXPECT_EQ(at(w - 2, h / 2), RGB(173, 173, 173));
    platform::testing::stylusUp(centre.x, centre.y);
    platform::testing::pumpMessages();
}

TEST_P(DialogControlsTest, AButtonActsOnReleaseInsideAndNotAfterTheStylusLeftIt) {
    DialogButton& ok = button(u"OK", 1);
    RECT r = rectOf(ok.window());
    POINT inside{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    POINT outside{r.right + scaleX(20), inside.y};
    platform::testing::stylusDown(inside.x, inside.y);
    platform::testing::pumpMessages();
    EXPECT_TRUE(ok.held());
    EXPECT_EQ(GetCapture(), ok.window());
    platform::testing::stylusMove(outside.x, outside.y);
    platform::testing::pumpMessages();
    EXPECT_FALSE(ok.held());
    platform::testing::stylusUp(outside.x, outside.y);
    platform::testing::pumpMessages();
    EXPECT_TRUE(Parent::commands.empty());
    EXPECT_EQ(GetCapture(), nullptr);

    platform::testing::tap(inside.x, inside.y);
    platform::testing::pumpMessages();
    ASSERT_EQ(Parent::commands.size(), 1u);
    EXPECT_EQ(Parent::commands[0].id, 1u);
    EXPECT_EQ(Parent::commands[0].from, ok.window());
    EXPECT_FALSE(ok.held());
}

TEST_P(DialogControlsTest, AButtonWithTheIconActsAsTheStylusGoesDown) {
    DialogButton& name = button(u"Русский", 124);
    ASSERT_TRUE(name.setIcon(true));
    platform::testing::pumpMessages();
    RECT r = rectOf(name.window());
    // The icon's dark triangle lies in its place at the right.
    int iconLeft = r.right - scaleX(8) / 2 - scaleX(8);
    int dark = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = iconLeft; x < iconLeft + scaleX(8); ++x)
            dark += GetRValue(screenPixel(x, y)) < 100 ? 1 : 0;
    EXPECT_GE(dark, scaleX(4) * scaleY(2)) << "the drop-down icon";
    platform::testing::stylusDown((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    platform::testing::pumpMessages();
    ASSERT_EQ(Parent::commands.size(), 1u);
    EXPECT_EQ(Parent::commands[0].id, 124u);
    EXPECT_FALSE(name.held()) << "the held look ends once the command was sent";
    platform::testing::stylusUp((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    platform::testing::pumpMessages();
    EXPECT_EQ(Parent::commands.size(), 1u);
}

// The columns of the label that hold text pixels of the colour, relative to its left edge.
std::pair<int, int> columnsOf(HWND window, COLORREF colour) {
    RECT r{};
    GetWindowRect(window, &r);
    int first = -1, last = -1;
    for (int x = r.left; x < r.right; ++x)
        for (int y = r.top; y < r.bottom; ++y)
            if (screenPixel(x, y) == colour) {
                if (first < 0) first = x - r.left;
                last = x - r.left;
            }
    return {first, last};
}

TEST_P(DialogControlsTest, ALabelAlignsItsTextOnTheParentsBrushAndDrawsItsShadow) {
    DialogLabel& left = label(u"Вибро", SS_LEFT | SS_CENTERIMAGE);
    left.setTextColor(RGB(0, 0, 255));
    platform::testing::pumpMessages();
    RECT r = rectOf(left.window());
    EXPECT_EQ(screenPixel(r.right - 2, r.top + 1), kParentGround) << "the parent's static brush";
    auto [leftFirst, leftLast] = columnsOf(left.window(), RGB(0, 0, 255));
    ASSERT_GE(leftFirst, 0);
    EXPECT_LT(leftFirst, scaleX(3));

    left.setAlignment(SS_RIGHT);
    platform::testing::pumpMessages();
    auto [rightFirst, rightLast] = columnsOf(left.window(), RGB(0, 0, 255));
    EXPECT_GT(rightLast, (r.right - r.left) - scaleX(8));
    EXPECT_EQ(rightLast - rightFirst, leftLast - leftFirst);

    left.setAlignment(SS_CENTER);
    left.setShadow(true);
    platform::testing::pumpMessages();
    auto [centreFirst, centreLast] = columnsOf(left.window(), RGB(0, 0, 255));
    EXPECT_NEAR(centreFirst + centreLast, r.right - r.left, scaleX(6));
    EXPECT_GT(columnsOf(left.window(), RGB(255, 255, 255)).first, 0) << "the white shadow";

    SetWindowTextW(left.window(), u"Другой");
    platform::testing::pumpMessages();
    EXPECT_NE(
        columnsOf(left.window(), RGB(0, 0, 255)).second - columnsOf(left.window(), RGB(0, 0, 255)).first,
        centreLast - centreFirst)
        << "a new text is painted";
}

TEST_P(DialogControlsTest, AnOpaqueLabelShowsOnlyItsColour) {
    DialogLabel& opaque = label(u"Some text", SS_LEFT);
    opaque.setOpaque(true, RGB(10, 20, 30));
    platform::testing::pumpMessages();
    RECT r = rectOf(opaque.window());
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            ASSERT_EQ(screenPixel(x, y), RGB(10, 20, 30)) << x << "," << y;
}

INSTANTIATE_TEST_SUITE_P(Resolutions, DialogControlsTest, ::testing::Values(96, 192),
                         [](const auto& info) { return "dpi" + std::to_string(info.param); });

}  // namespace
}  // namespace shelltest

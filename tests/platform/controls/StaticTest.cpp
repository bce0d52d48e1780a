// The "Static" class: created by name in any case, text placed by its alignment styles (checked by
// where the inked pixels fall), vertical centring, the parent's brush and text colour, repainting
// on WM_SETTEXT, fonts, and STN_CLICKED with SS_NOTIFY.

#include "ControlsTestSupport.h"

using namespace controlstest;
using platform::testing::WindowTestScope;

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);

struct StaticTest : ::testing::Test {
    WindowTestScope scope;
    HWND parent = nullptr;
    HBRUSH white = CreateSolidBrush(kWhite);

    void SetUp() override {
        parent = makeParent();
        parentLog().brush = white;
    }
    void TearDown() override {
        DestroyWindow(parent);
        DeleteObject(white);
    }
    // A 200x40 static at (20, 20) with the text "Wide", painted; returns the inked box.
    RECT inkOf(DWORD style, LPCWSTR text = u"Wide") {
        HWND label = makeControl(parent, u"STATIC", text, style, 20, 20, 200, 40, 7);
        EXPECT_NE(label, nullptr);
        pumpMessages();
        RECT ink = inkBounds(RECT{20, 20, 220, 60}, kWhite);
        DestroyWindow(label);
        pumpMessages();
        return ink;
    }
};

TEST_F(StaticTest, ClassNamesAreCaseInsensitiveAndNeedNoRegistration) {
    for (LPCWSTR name : {u"Static", u"STATIC", u"static", u"Edit", u"EDIT", u"edit", u"Button", u"BUTTON"}) {
        HWND control = makeControl(parent, name, u"x", 0, 0, 0, 50, 20, 1);
        ASSERT_NE(control, nullptr) << "class " << platform::toUtf8(name);
        WCHAR cls[16];
        ASSERT_GT(GetClassNameW(control, cls, 16), 0);
        DestroyWindow(control);
    }
    WNDCLASSW info{};
    EXPECT_TRUE(GetClassInfoW(nullptr, u"static", &info));
    EXPECT_EQ(info.lpszClassName, std::u16string(u"Static"));
}

TEST_F(StaticTest, AlignmentStylesPlaceTheText) {
    RECT left = inkOf(SS_LEFT);
    RECT centre = inkOf(SS_CENTER);
    RECT right = inkOf(SS_RIGHT);
    ASSERT_FALSE(IsRectEmpty(&left));
    ASSERT_FALSE(IsRectEmpty(&centre));
    ASSERT_FALSE(IsRectEmpty(&right));
    EXPECT_LE(left.left, 22);
    EXPECT_NEAR((centre.left + centre.right) / 2, 120, 2);
    EXPECT_GE(right.right, 218);
    EXPECT_NEAR(left.right - left.left, right.right - right.left, 1) << "the same text, only moved";
    EXPECT_LE(left.top, 24) << "without SS_CENTERIMAGE the line sits at the top";
}

TEST_F(StaticTest, CenterImageCentresOneLineVertically) {
    RECT ink = inkOf(SS_CENTER | SS_CENTERIMAGE);
    ASSERT_FALSE(IsRectEmpty(&ink));
    EXPECT_NEAR((ink.top + ink.bottom) / 2, 40, 3);
    EXPECT_NEAR((ink.left + ink.right) / 2, 120, 2);
}

TEST_F(StaticTest, NoPrefixShowsTheAmpersand) {
    RECT prefixed = inkOf(SS_LEFT, u"&Wide");
    RECT plain = inkOf(SS_LEFT | SS_NOPREFIX, u"&Wide");
    EXPECT_GT(plain.right - plain.left, prefixed.right - prefixed.left + 3) << "the '&' is drawn";
    EXPECT_GT(prefixed.bottom, inkOf(SS_LEFT, u"Wide").bottom) << "the mnemonic is underlined";
}

TEST_F(StaticTest, LongTextWrapsOntoSeveralLinesUnlessSimple) {
    LPCWSTR text = u"one two three four five six seven eight nine ten";
    RECT wrapped = inkOf(SS_LEFT, text);
    RECT simple = inkOf(SS_SIMPLE, text);
    EXPECT_GT(wrapped.bottom - wrapped.top, simple.bottom - simple.top + 5);
}

TEST_F(StaticTest, ParentBrushFillsTheBackgroundAndItsTextColourDrawsTheText) {
    HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
    parentLog().brush = blue;
    parentLog().textColour = RGB(255, 0, 0);
    HWND label = makeControl(parent, WC_STATIC, u"Text", SS_LEFT, 20, 20, 100, 30, 7);
    pumpMessages();
    EXPECT_EQ(parentLog().colourRequests, std::vector<UINT>{WM_CTLCOLORSTATIC});
    EXPECT_EQ(platform::testing::screenPixel(118, 48), RGB(0, 0, 255));
    EXPECT_EQ(platform::testing::screenPixel(20, 20 + 29), RGB(0, 0, 255));
    int reddish = 0;
    for (int y = 20; y < 50; ++y)
        for (int x = 20; x < 120; ++x)
            if (GetRValue(platform::testing::screenPixel(x, y)) > 128) ++reddish;
    EXPECT_GT(reddish, 10) << "the text is drawn in the parent's red over its blue";
    EXPECT_EQ(platform::testing::screenPixel(121, 25), kWhite) << "nothing drawn outside the control";
    DestroyWindow(label);
    DeleteObject(blue);
}

TEST_F(StaticTest, SetTextRepaintsAndSetFontChangesTheSize) {
    HWND label = makeControl(parent, WC_STATIC, u"", SS_LEFT, 20, 20, 200, 40, 7);
    pumpMessages();
    RECT area{20, 20, 220, 60};
    EXPECT_TRUE(IsRectEmpty(&(const RECT&)inkBounds(area, kWhite)));
    SetWindowTextW(label, u"Итого");
    pumpMessages();
    RECT small = inkBounds(area, kWhite);
    EXPECT_FALSE(IsRectEmpty(&small));
    EXPECT_EQ(SendMessageW(label, WM_GETFONT, 0, 0), 0) << "the system font until one is set";
    HFONT big = CreateFontW(-24, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, u"Tahoma");
    SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(big), TRUE);
    EXPECT_EQ(SendMessageW(label, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(big));
    pumpMessages();
    RECT large = inkBounds(area, kWhite);
    EXPECT_GT(large.bottom - large.top, small.bottom - small.top);
    EXPECT_GT(large.right - large.left, small.right - small.left);
    DestroyWindow(label);
    DeleteObject(big);
}

TEST_F(StaticTest, NotifyStyleReportsClicks) {
    HWND quiet = makeControl(parent, WC_STATIC, u"quiet", SS_LEFT, 20, 20, 100, 20, 5);
    HWND loud = makeControl(parent, WC_STATIC, u"loud", SS_LEFT | SS_NOTIFY, 20, 60, 100, 20, 6);
    pumpMessages();
    platform::testing::tap(30, 30);
    platform::testing::tap(30, 70);
    pumpMessages();
    ASSERT_EQ(parentLog().commands.size(), 1u);
    EXPECT_EQ(parentLog().commands[0].id, 6);
    EXPECT_EQ(parentLog().commands[0].code, STN_CLICKED);
    EXPECT_EQ(parentLog().commands[0].control, loud);
    EXPECT_EQ(SendMessageW(quiet, WM_GETDLGCODE, 0, 0), DLGC_STATIC);
}

}  // namespace

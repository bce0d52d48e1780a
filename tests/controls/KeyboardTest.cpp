// The on-screen keypad: its keys in creation order, both arrangements with and without the 400/800
// flag at both resolutions (sizes, key places, each key showing its own part of the images, label
// areas inside the keys), the letter labels with their shared shrinking font, and the reports:
// digits and the point on a click, backspace on a quick tap, a clear on a held backspace and nothing
// when the finger slides off.

#include "ControlMessages.h"
#include "ControlsFixture.h"
#include "Keyboard.h"
#include "platform/detail/Gdi.h"
#include "platform/resources.h"
#include "resources/DashelResources.h"

using controlstest::ControlsTest;
using controlstest::Notification;
using platform::testing::advanceAndPump;
using platform::testing::pumpMessages;

namespace {

RECT screenRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

struct KeyboardTest : ControlsTest {
    Keyboard keyboard;
    int pulses = 0;

    void SetUp() override {
        ControlsTest::SetUp();
        platform::registerModuleResources(GetModuleHandleW(nullptr), dashelResourceTable());
    }
    void TearDown() override {
        keyboard.destroy();
        ControlsTest::TearDown();
    }
    void createOn(int width, int height, int dpi, int mode) {
        platform::testing::useScreen(width, height, dpi);
        setScreenMetrics(dpi, dpi, width, height);
        MoveWindow(parent.window(), 0, 0, width, height, TRUE);
        ASSERT_TRUE(keyboard.create(parent.window(), 0, 0, mode, GetModuleHandleW(nullptr)));
        keyboard.setKeyFeedback([this] { ++pulses; });
        pumpMessages();
        takeNotifications();
    }
    POINT keyPoint(UINT id, int dx = 0) {
        RECT rect = screenRect(keyboard.key(id)->window());
        return POINT{(rect.left + rect.right) / 2 + dx, (rect.top + rect.bottom) / 2};
    }
    std::vector<Notification> reports() {
        std::vector<Notification> all = takeNotifications();
        std::vector<Notification> keys;
        for (const Notification& n : all)
            if (n.first == WM_KEYPAD_KEY) keys.push_back(n);
        return keys;
    }
};

TEST_F(KeyboardTest, TwelveKeysInCreationOrderWithTheirNames) {
    createOn(240, 320, 96, Keyboard::kPortrait);
    const char16_t* const names[] = {u"0", u"1", u"2", u"3", u"4",         u"5",
                                     u"6", u"7", u"8", u"9", u"Backspace", u"Dot"};
    // The keyboard's children, in the order they were created.
    std::vector<std::u16string> order;
    for (HWND child = GetWindow(keyboard.window(), GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        WCHAR text[32] = {};
        GetWindowTextW(child, text, 32);
        order.push_back(text);
    }
    ASSERT_EQ(order.size(), 12u);
    for (size_t i = 0; i < 12; ++i) {
        EXPECT_TRUE(order[i] == names[i]) << i << " " << platform::toUtf8(order[i]);
        EXPECT_EQ(GetDlgCtrlID(keyboard.key(Keyboard::kKeyIds[i])->window()), 0);
        EXPECT_EQ(keyboard.key(Keyboard::kKeyIds[i])->keyId(), Keyboard::kKeyIds[i]);
    }
    EXPECT_EQ(keyboard.key(11), nullptr);
}

struct Arrangement {
    int width;
    int height;
    int dpi;
    int mode;
    UINT image;  // the normal look's bitmap for the screen
    SIZE size;
    UINT key;  // a key and where it lies, in pixels
    RECT place;
};

TEST_F(KeyboardTest, BothArrangementsAtBothResolutionsWithAndWithoutThe400Or800Flag) {
    const Arrangement arrangements[] = {
        {240, 320, 96, Keyboard::kPortrait, 157, {240, 106}, 10, {196, 1, 239, 35}},
        {240, 320, 96, Keyboard::kLandscape, 160, {80, 215}, 0, {40, 140, 79, 174}},
        {480, 640, 192, Keyboard::kPortrait, 188, {480, 212}, 5, {132, 72, 260, 140}},
        {480, 640, 192, Keyboard::kLandscape, 190, {160, 430}, 12, {80, 350, 158, 418}},
        {480, 800, 192, Keyboard::kPortrait, 199, {480, 322}, 9, {262, 214, 390, 318}},
        {480, 800, 192, Keyboard::kLandscape, 222, {320, 430}, 1, {2, 0, 158, 68}},
    };
    for (const Arrangement& a : arrangements) {
        SCOPED_TRACE(std::to_string(a.width) + "x" + std::to_string(a.height) + " mode " +
                     std::to_string(a.mode));
        createOn(a.width, a.height, a.dpi, a.mode);
        RECT board = screenRect(keyboard.window());
        EXPECT_EQ(board.right - board.left, a.size.cx);
        EXPECT_EQ(board.bottom - board.top, a.size.cy);
        RECT key = screenRect(keyboard.key(a.key)->window());
        OffsetRect(&key, -board.left, -board.top);
        EXPECT_TRUE(EqualRect(&key, &a.place))
            << key.left << "," << key.top << "," << key.right << "," << key.bottom;
        // Every key shows its own part of the images, pixel for pixel, and keeps its label area
        // inside itself.
        UpdateWindow(keyboard.window());
        HBITMAP image = LoadBitmapW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(a.image));
        ASSERT_NE(image, nullptr);
        auto pixels = platform::surfaceOf(image);
        for (UINT id : Keyboard::kKeyIds) {
            RECT r = screenRect(keyboard.key(id)->window());
            RECT area = keyboard.key(id)->textRect();
            EXPECT_TRUE(area.left >= 0 && area.right <= r.right - r.left && area.bottom <= r.bottom - r.top)
                << "key " << id;
            int differing = 0;
            for (int y = r.top; y < r.bottom; y += 3)
                for (int x = r.left; x < r.right; x += 3)
                    if (platform::testing::screenPixel(x, y) !=
                        platform::colorFromPixel(pixels->pixel(x - board.left, y - board.top)))
                        ++differing;
            EXPECT_EQ(differing, 0) << "key " << id;
        }
        DeleteObject(image);
        keyboard.destroy();
    }
}

TEST_F(KeyboardTest, TurningToLandscapeResizesTheKeyboardToItsImages) {
    createOn(480, 640, 192, Keyboard::kPortrait);
    MoveWindow(keyboard.window(), 0, 428, 480, 212, TRUE);
    EXPECT_TRUE(keyboard.setLayout(Keyboard::kLandscape));
    RECT board = screenRect(keyboard.window());
    EXPECT_EQ(board.right - board.left, 160);
    EXPECT_EQ(board.bottom - board.top, 430);
    EXPECT_EQ(board.top, 428) << "the keyboard keeps its place; the parent moves it";
    EXPECT_EQ(keyboard.layout(), Keyboard::kLandscape);
}

TEST_F(KeyboardTest, LabelsGoToTheFirstKeysAndShareAFontThatShrinksToTheWidest) {
    createOn(240, 320, 96, Keyboard::kPortrait);
    std::vector<std::u16string> ten(10, u"ab");
    ten[2] = u"ABC";
    keyboard.setLabels(10, ten.data());
    EXPECT_TRUE(keyboard.label(2) == u"ABC");
    EXPECT_TRUE(keyboard.label(10).empty()) << "backspace keeps no label";
    EXPECT_TRUE(keyboard.label(12).empty()) << "neither does the point";
    EXPECT_EQ(keyboard.labelFontHeight(), 16);

    std::vector<std::u16string> fourteen(14, u"x");
    fourteen[10] = u"back";
    fourteen[11] = u"dot";
    fourteen[12] = u"never";
    keyboard.setLabels(14, fourteen.data());
    EXPECT_TRUE(keyboard.label(10) == u"back");
    EXPECT_TRUE(keyboard.label(12) == u"dot");

    // A label too wide for the keys shrinks the one font of all keys; shorter labels bring it back.
    std::vector<std::u16string> wide(10, u"");
    wide[7] = u"PQRSTUVWXYZ^abcdef";
    keyboard.setLabels(10, wide.data());
    int shrunk = keyboard.labelFontHeight();
    EXPECT_LT(shrunk, 16);
    EXPECT_GE(shrunk, 8);
    std::vector<std::u16string> twelve(12, u"ab");
    keyboard.setLabels(12, twelve.data());
    EXPECT_EQ(keyboard.labelFontHeight(), 16);
}

TEST_F(KeyboardTest, DigitsAndThePointReportOnTheClickAndSlidingOffReportsNothing) {
    createOn(240, 320, 96, Keyboard::kPortrait);
    for (UINT id : {7u, 0u, 12u}) {
        POINT p = keyPoint(id);
        platform::testing::tap(p.x, p.y);
        pumpMessages();
    }
    EXPECT_EQ(reports(),
              (std::vector<Notification>{{WM_KEYPAD_KEY, 7}, {WM_KEYPAD_KEY, 0}, {WM_KEYPAD_KEY, 12}}));
    EXPECT_EQ(pulses, 3) << "one pulse for each key";

    POINT five = keyPoint(5);
    POINT six = keyPoint(6);
    platform::testing::stylusDown(five.x, five.y);
    pumpMessages();
    platform::testing::stylusMove(six.x, six.y);
    pumpMessages();
    platform::testing::stylusUp(six.x, six.y);
    pumpMessages();
    EXPECT_EQ(reports(), std::vector<Notification>{});
    EXPECT_EQ(pulses, 3);
}

TEST_F(KeyboardTest, AQuickBackspacePostsTenOnceAndAHeldOnePostsElevenOnce) {
    createOn(240, 320, 96, Keyboard::kPortrait);
    POINT back = keyPoint(10);
    platform::testing::stylusDown(back.x, back.y);
    pumpMessages();
    advanceAndPump(100);
    platform::testing::stylusUp(back.x, back.y);
    pumpMessages();
    advanceAndPump(1000);
    EXPECT_EQ(reports(), (std::vector<Notification>{{WM_KEYPAD_KEY, kKeypadBackspace}}));

    platform::testing::stylusDown(back.x, back.y);
    pumpMessages();
    advanceAndPump(399);
    EXPECT_EQ(reports(), std::vector<Notification>{});
    advanceAndPump(1);
    EXPECT_EQ(reports(), (std::vector<Notification>{{WM_KEYPAD_KEY, kKeypadClear}}));
    EXPECT_FALSE(keyboard.key(10)->isHeld()) << "the key was let go";
    EXPECT_EQ(GetCapture(), nullptr);
    advanceAndPump(600);
    platform::testing::stylusUp(back.x, back.y);
    pumpMessages();
    EXPECT_EQ(reports(), std::vector<Notification>{}) << "nothing when the finger lifts";
    EXPECT_EQ(pulses, 2);
}

TEST_F(KeyboardTest, SlidingOffBackspaceBeforeItIsHeldLongReportsNothing) {
    createOn(240, 320, 96, Keyboard::kPortrait);
    POINT back = keyPoint(10);
    platform::testing::stylusDown(back.x, back.y);
    pumpMessages();
    advanceAndPump(100);
    platform::testing::stylusMove(back.x, back.y + 200);
    advanceAndPump(100);
    platform::testing::stylusUp(back.x, back.y + 200);
    pumpMessages();
    advanceAndPump(1000);
    EXPECT_EQ(reports(), std::vector<Notification>{});
}

}  // namespace

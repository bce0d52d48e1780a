// Image keys: the notifications of press, release and click as the stylus leaves and re-enters the
// key, the look shown at each step (screen pixels), the capture handed back to its previous holder,
// the programmatic release, and the drawing of centred and transparent slices.

#include "ControlMessages.h"
#include "ControlsFixture.h"
#include "ImageKey.h"

using controlstest::ControlsTest;
using controlstest::Notification;
using platform::testing::screenPixel;

namespace {

constexpr COLORREF kNormal = RGB(0, 0, 200);
constexpr COLORREF kPressed = RGB(200, 0, 0);
constexpr UINT kKeyId = 5;

struct ImageKeyTest : ControlsTest {
    HBITMAP normal = nullptr;
    HBITMAP pressed = nullptr;
    ImageKey key;

    void SetUp() override {
        ControlsTest::SetUp();
        normal = controlstest::makeBitmap(100, 60, kNormal);
        pressed = controlstest::makeBitmap(100, 60, kPressed);
        ASSERT_TRUE(key.create(parent.window(), RECT{20, 100, 60, 130}, u"Key", kKeyId));
        key.setImages(normal, pressed, RECT{0, 0, 40, 30});
        platform::testing::pumpMessages();
    }
    void TearDown() override {
        key.destroy();
        DeleteObject(normal);
        DeleteObject(pressed);
        ControlsTest::TearDown();
    }
    POINT onScreen(int x, int y) const {
        POINT p{x, y};
        ClientToScreen(key.window(), &p);
        return p;
    }
    COLORREF keyPixel(int x, int y) const {
        POINT p = onScreen(x, y);
        return screenPixel(p.x, p.y);
    }
    void stylus(platform::StylusAction action, int x, int y) {
        POINT p = onScreen(x, y);
        platform::injectStylus(action, p.x, p.y);
        platform::testing::pumpMessages();
    }
};

using platform::StylusAction;

TEST_F(ImageKeyTest, LeavingBeforeReleaseSendsNoClickAndEndsInTheNormalLook) {
    EXPECT_EQ(keyPixel(20, 15), kNormal);
    stylus(StylusAction::Down, 5, 5);
    EXPECT_EQ(keyPixel(20, 15), kPressed);
    EXPECT_EQ(GetCapture(), key.window());
    stylus(StylusAction::Move, 100, 5);
    EXPECT_EQ(keyPixel(20, 15), kNormal);
    EXPECT_FALSE(key.isHeld());
    stylus(StylusAction::Up, 100, 5);
    EXPECT_EQ(keyPixel(20, 15), kNormal);
    EXPECT_EQ(GetCapture(), nullptr);
    const std::vector<Notification> expected{{WM_KEY_PRESSED, kKeyId}, {WM_KEY_RELEASED, kKeyId}};
    EXPECT_EQ(takeNotifications(), expected);
}

TEST_F(ImageKeyTest, ReturningBeforeReleaseShowsThePressedLookAndClicks) {
    stylus(StylusAction::Down, 5, 5);
    stylus(StylusAction::Move, -10, 50);
    EXPECT_EQ(keyPixel(20, 15), kNormal);
    stylus(StylusAction::Move, 39, 29);
    EXPECT_EQ(keyPixel(20, 15), kPressed);
    EXPECT_TRUE(key.isHeld());
    stylus(StylusAction::Up, 39, 29);
    EXPECT_EQ(keyPixel(20, 15), kNormal);
    const std::vector<Notification> expected{
        {WM_KEY_PRESSED, kKeyId}, {WM_KEY_RELEASED, kKeyId}, {WM_KEY_CLICKED, kKeyId}};
    EXPECT_EQ(takeNotifications(), expected);
}

TEST_F(ImageKeyTest, CaptureGoesBackToItsPreviousHolder) {
    HWND holder = parent.window();
    SetCapture(holder);
    SendMessageW(key.window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(GetCapture(), key.window());
    SendMessageW(key.window(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(GetCapture(), holder);

    // A programmatic release ends the press silently and also hands the capture back.
    takeNotifications();
    SendMessageW(key.window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(keyPixel(20, 15), kPressed);
    key.release();
    EXPECT_EQ(keyPixel(20, 15), kNormal);
    EXPECT_EQ(GetCapture(), holder);
    const std::vector<Notification> expected{{WM_KEY_PRESSED, kKeyId}};
    EXPECT_EQ(takeNotifications(), expected);
    ReleaseCapture();
}

TEST_F(ImageKeyTest, PushedButtonStateShowsThePressedLook) {
    SendMessageW(key.window(), BM_SETSTATE, TRUE, 0);
    EXPECT_EQ(SendMessageW(key.window(), BM_GETSTATE, 0, 0), BST_PUSHED);
    UpdateWindow(key.window());
    EXPECT_EQ(keyPixel(20, 15), kPressed);
    SendMessageW(key.window(), BM_SETSTATE, FALSE, 0);
    UpdateWindow(key.window());
    EXPECT_EQ(keyPixel(20, 15), kNormal);
}

TEST_F(ImageKeyTest, ASmallerSliceIsCentredAndTransparentPixelsShowTheBackground) {
    constexpr COLORREF kSlice = RGB(0, 160, 0);
    constexpr COLORREF kBackground = RGB(90, 90, 90);
    // The slice (10,10)-(30,20) of the images: white with a green block at (15,12)-(25,18).
    HBITMAP image = controlstest::makeBitmap(100, 60, RGB(255, 255, 255), RECT{15, 12, 25, 18}, kSlice);
    ImageKey wide;
    ASSERT_TRUE(wide.create(parent.window(), RECT{100, 100, 160, 140}, u"Wide", 9));
    wide.setImages(image, image, RECT{10, 10, 30, 20});
    UpdateWindow(wide.window());
    auto pixel = [&](int x, int y) {
        POINT p{x, y};
        ClientToScreen(wide.window(), &p);
        return screenPixel(p.x, p.y);
    };
    // Offset ((60 - 20) / 2, (40 - 10) / 2) = (20, 15): slice (15,12) lands on (25,17).
    EXPECT_EQ(pixel(25, 17), kSlice);
    EXPECT_EQ(pixel(34, 22), kSlice);
    EXPECT_EQ(pixel(20, 15), RGB(255, 255, 255));
    EXPECT_EQ(pixel(39, 24), RGB(255, 255, 255));
    EXPECT_NE(pixel(19, 15), RGB(255, 255, 255));
    EXPECT_NE(pixel(40, 24), RGB(255, 255, 255));

    wide.setBackgroundColor(kBackground);
    wide.setTransparentColor(RGB(255, 255, 255));
    UpdateWindow(wide.window());
    EXPECT_EQ(pixel(25, 17), kSlice);
    EXPECT_EQ(pixel(20, 15), kBackground);
    EXPECT_EQ(pixel(2, 2), kBackground);
    EXPECT_EQ(pixel(59, 39), kBackground);
    wide.destroy();
    DeleteObject(image);
}

TEST_F(ImageKeyTest, ALargerSliceStartsAtTheTopLeft) {
    HBITMAP image = controlstest::makeBitmap(100, 60, kNormal, RECT{0, 0, 1, 1}, kPressed);
    ImageKey small;
    ASSERT_TRUE(small.create(parent.window(), RECT{100, 100, 110, 110}, u"Small", 2));
    small.setImages(image, image, RECT{0, 0, 50, 50});
    UpdateWindow(small.window());
    POINT p{0, 0};
    ClientToScreen(small.window(), &p);
    EXPECT_EQ(screenPixel(p.x, p.y), kPressed);
    EXPECT_EQ(screenPixel(p.x + 9, p.y + 9), kNormal);
    EXPECT_NE(screenPixel(p.x + 10, p.y + 10), kNormal) << "the key draws only inside itself";
    small.destroy();
    DeleteObject(image);
}

}  // namespace

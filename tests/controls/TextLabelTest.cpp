// Text labels: texts cut to 255 characters, the three alignments (where the ink falls), the
// background behind the text, and the stylus notifications with the capture handed back.

#include <string>

#include "ControlMessages.h"
#include "ControlsFixture.h"
#include "TextLabel.h"

using controlstest::ControlsTest;
using controlstest::inkedOnScreen;
using controlstest::Notification;

namespace {

constexpr COLORREF kBackground = RGB(170, 188, 223);
constexpr UINT kLabelId = 3;
const RECT kPlace{20, 100, 220, 130};

struct TextLabelTest : ControlsTest {
    TextLabel label;
    void SetUp() override {
        ControlsTest::SetUp();
        ASSERT_TRUE(label.create(parent.window(), kPlace, u"ab", kLabelId));
        label.setBackgroundColor(kBackground);
        label.setFont(sharedFont(2));
        UpdateWindow(label.window());
    }
    void TearDown() override {
        label.destroy();
        ControlsTest::TearDown();
    }
};

TEST_F(TextLabelTest, LongTextsAreCutTo255Characters) {
    std::u16string text;
    for (int i = 0; i < 300; ++i)
        text.push_back(static_cast<char16_t>(u'A' + i % 26));
    TextLabel created;
    ASSERT_TRUE(created.create(parent.window(), kPlace, text.c_str(), 1));
    EXPECT_EQ(std::u16string(created.text()), text.substr(0, 255));
    label.setText(text.c_str(), true);
    EXPECT_EQ(std::u16string(label.text()), text.substr(0, 255));
    label.setText(text.substr(0, 255).c_str(), false);
    EXPECT_EQ(std::u16string(label.text()).size(), 255u);
    label.setText(nullptr, true);
    EXPECT_EQ(std::u16string(label.text()), u"");
    created.destroy();
}

TEST_F(TextLabelTest, AlignmentPlacesTheText) {
    struct Case {
        int alignment;
        const char* where;
    };
    const Case cases[] = {
        {kAlignRight, "right"}, {kAlignCenter, "centre"}, {kAlignLeft, "left"}, {7, "left"}};
    for (const Case& c : cases) {
        label.setAlignment(c.alignment);
        label.setText(u"Wxyz", true);
        RECT ink = inkedOnScreen(kPlace, kBackground);
        ASSERT_FALSE(IsRectEmpty(&ink)) << c.alignment;
        std::string where = c.where;
        if (where == "right") {
            EXPECT_NEAR(ink.right, kPlace.right, 3) << c.alignment;
        } else if (where == "centre") {
            EXPECT_NEAR((ink.left + ink.right) / 2.0, (kPlace.left + kPlace.right) / 2.0, 3) << c.alignment;
        } else {
            EXPECT_NEAR(ink.left, kPlace.left, 3) << c.alignment;
        }
        EXPECT_EQ(platform::testing::screenPixel(kPlace.left, kPlace.top), kBackground);
        EXPECT_EQ(platform::testing::screenPixel(kPlace.right - 1, kPlace.bottom - 1), kBackground);
    }
}

TEST_F(TextLabelTest, StylusDownNotifiesTwiceAndTheCaptureGoesBack) {
    HWND holder = parent.window();
    SetCapture(holder);
    SendMessageW(label.window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(GetCapture(), label.window());
    SendMessageW(label.window(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(GetCapture(), holder);
    ReleaseCapture();

    platform::testing::tap(kPlace.left + 5, kPlace.top + 5);
    EXPECT_EQ(GetCapture(), nullptr);
    const std::vector<Notification> expected{{WM_LABEL_PRESSED, kLabelId},
                                             {WM_LABEL_CLICKED, kLabelId},
                                             {WM_LABEL_PRESSED, kLabelId},
                                             {WM_LABEL_CLICKED, kLabelId}};
    EXPECT_EQ(takeNotifications(), expected);
}

}  // namespace

// The main window's layout: on every screen profile, in every entry mode and with either button
// alignment, the visible parts lie on the screen without overlapping and cover it whole (no band of
// the window's own white between them); rotation moves the keyboard between the bottom and the side;
// a square screen hides it.
#include <algorithm>

#include "ScreenMetrics.h"
#include "SettingsStore.h"
#include "ShellCommands.h"
#include "ShellFixture.h"
#include "platform/windows.h"

namespace shelltest {
namespace {

using namespace shell;

struct Profile {
    int width;
    int height;
    int dpi;
};
constexpr Profile kProfiles[] = {{240, 320, 96}, {480, 640, 192}, {640, 480, 192}, {480, 800, 192},
                                 {240, 240, 96}, {320, 240, 96},  {800, 480, 192}};

std::string describe(const RECT& r) {
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" + std::to_string(r.right) +
           "," + std::to_string(r.bottom) + ")";
}

class LayoutTest : public ShellTest {
  protected:
    // The visible children of the main window with their screen rectangles.
    std::vector<std::pair<HWND, RECT>> visibleChildren() {
        std::vector<std::pair<HWND, RECT>> children;
        for (HWND child = GetWindow(mainWindow(), GW_CHILD); child != nullptr;
             child = GetWindow(child, GW_HWNDNEXT))
            if (IsWindowVisible(child)) children.emplace_back(child, screenRect(child));
        return children;
    }

    void expectNoOverlap(const std::string& context, size_t parts = 3) {
        SCOPED_TRACE(context);
        auto children = visibleChildren();
        ASSERT_GE(children.size(), parts);  // header, a panel, a strip
        RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        for (size_t i = 0; i < children.size(); ++i) {
            RECT inside{};
            IntersectRect(&inside, &children[i].second, &screen);
            EXPECT_TRUE(EqualRect(&inside, &children[i].second))
                << "off the screen: " << describe(children[i].second);
            for (size_t j = i + 1; j < children.size(); ++j) {
                RECT common{};
                EXPECT_FALSE(IntersectRect(&common, &children[i].second, &children[j].second))
                    << describe(children[i].second) << " overlaps " << describe(children[j].second);
            }
        }
    }

    // Every pixel of the screen lies in a visible part: row by row, the parts crossing the row cover
    // it from the left edge to the right one.
    void expectCovered(const std::string& context) {
        auto children = visibleChildren();
        const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
        for (int y = 0; y < height; ++y) {
            std::vector<std::pair<LONG, LONG>> spans;
            for (const auto& child : children)
                if (child.second.top <= y && y < child.second.bottom)
                    spans.emplace_back(child.second.left, child.second.right);
            std::sort(spans.begin(), spans.end());
            LONG reached = 0;
            for (const auto& span : spans)
                if (span.first <= reached) reached = std::max(reached, span.second);
            if (reached < width) {
                ADD_FAILURE() << context << ": the pixel (" << reached << "," << y << ") lies in no part";
                return;
            }
        }
    }

    RECT keyboard() { return screenRect(m_window->keyboard().window()); }
    bool keyboardVisible() { return IsWindowVisible(m_window->keyboard().window()) != FALSE; }
    int headerHeight() { return m_window->headerBar().height(); }
};

TEST_F(LayoutTest, EveryProfileModeAndAlignmentLaysThePartsOutWithoutOverlap) {
    for (const Profile& profile : kProfiles) {
        for (DWORD align : {1u, 0u}) {
            std::string context = std::to_string(profile.width) + "x" + std::to_string(profile.height) + "@" +
                                  std::to_string(profile.dpi) + " align " + std::to_string(align);
            close();
            useScreen(profile.width, profile.height, profile.dpi);
            ASSERT_TRUE(writeSettingNumber(kSettingButtonAlign, align));
            open();
            for (int mode = 0; mode < kEntryModeCount; ++mode) {
                m_window->switchEntryMode(static_cast<EntryMode>(mode));
                platform::testing::pumpMessages();
                expectNoOverlap(context + " mode " + std::to_string(mode));
                expectCovered(context + " mode " + std::to_string(mode));
            }
            EXPECT_EQ(keyboardVisible(), profile.width != profile.height) << context;
        }
    }
}

TEST_F(LayoutTest, TheStripSitsBelowTheFormAtItsWidth) {
    open();
    tapStripButton(kStripConfirmOrCreate, 2);
    RECT form = screenRect(m_window->fieldPanel().window());
    RECT strip = screenRect(m_window->strip(kStripForm).window());
    EXPECT_EQ(form.top, headerHeight());
    EXPECT_EQ(form.bottom - form.top, 4 * m_window->fieldPanel().rowHeight() + 3 * scaleY(1));
    EXPECT_EQ(strip.top, form.bottom);
    EXPECT_EQ(strip.left, form.left);
    EXPECT_EQ(strip.right, form.right);
    // 240x320 at 96 dpi: the screen height equals scaleY(320), so the strip is at least 33 units
    // high; it reaches down to the keyboard.
    EXPECT_GE(strip.bottom - strip.top, 33);
    EXPECT_EQ(strip.bottom, keyboard().top);
    EXPECT_EQ(keyboard().bottom, 320);
}

TEST_F(LayoutTest, RotationMovesTheKeyboardToTheRightSideAndBack) {
    open();
    EXPECT_EQ(m_window->orientation(), kPortrait);
    EXPECT_EQ(keyboard().left, 0);
    EXPECT_EQ(keyboard().bottom, 320);
    EXPECT_EQ(keyboard().right - keyboard().left, 240);
    EXPECT_EQ(keyboard().bottom - keyboard().top, 106);

    platform::testing::rotateScreen();
    platform::testing::pumpMessages();
    EXPECT_EQ(m_window->orientation(), kLandscape);
    EXPECT_TRUE(keyboardVisible());
    EXPECT_EQ(keyboard().right, 320);
    EXPECT_EQ(keyboard().top, headerHeight());
    EXPECT_EQ(keyboard().right - keyboard().left, 80);
    EXPECT_GE(keyboard().bottom - keyboard().top, 215) << "the keys' height";
    EXPECT_EQ(keyboard().bottom, 240) << "beside the form the keyboard reaches the bottom";
    EXPECT_EQ(screenRect(m_window->panel(EntryMode::Payees).window()).left, 0);
    expectNoOverlap("landscape");

    platform::testing::rotateScreen();
    platform::testing::pumpMessages();
    EXPECT_EQ(m_window->orientation(), kPortrait);
    EXPECT_EQ(keyboard().left, 0);
    EXPECT_EQ(keyboard().bottom, 320);
    EXPECT_EQ(keyboard().bottom - keyboard().top, 106);
}

TEST_F(LayoutTest, LeftHandedAlignmentPutsTheKeyboardOnTheLeftAndTheFormBesideIt) {
    ASSERT_TRUE(writeSettingNumber(kSettingButtonAlign, 0));
    open();
    platform::testing::rotateScreen();
    platform::testing::pumpMessages();
    EXPECT_EQ(keyboard().left, 0);
    EXPECT_EQ(keyboard().top, headerHeight());
    RECT payees = screenRect(m_window->panel(EntryMode::Payees).window());
    RECT strip = screenRect(m_window->strip(kStripConfirmOrCreate).window());
    EXPECT_EQ(payees.left, 80);
    EXPECT_EQ(strip.left, 80);
    expectNoOverlap("left-handed landscape");
}

TEST_F(LayoutTest, AnyAlignmentValueOtherThanZeroCountsAsRightHanded) {
    ASSERT_TRUE(writeSettingNumber(kSettingButtonAlign, 7));
    open();
    platform::testing::rotateScreen();
    platform::testing::pumpMessages();
    EXPECT_EQ(keyboard().right, 320);
}

TEST_F(LayoutTest, ASquareScreenHidesTheKeyboard) {
    useScreen(240, 240, 96);
    open();
    EXPECT_EQ(m_window->orientation(), kSquare);
    EXPECT_FALSE(keyboardVisible());
    m_window->switchEntryMode(EntryMode::Form);
    EXPECT_FALSE(keyboardVisible());
    expectNoOverlap("square");
}

// The width of text in one of the shared fonts.
int widthInSharedFont(int font, const std::u16string& text) {
    HDC hdc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(hdc, sharedFont(font));
    SIZE size{};
    GetTextExtentPoint32W(hdc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(hdc, previous);
    DeleteDC(hdc);
    return size.cx;
}

TEST_F(LayoutTest, StripLabelsAndTheDateFitTheirPlacesOnEveryProfile) {
    for (const Profile& profile : kProfiles) {
        std::string context = std::to_string(profile.width) + "x" + std::to_string(profile.height);
        close();
        useScreen(profile.width, profile.height, profile.dpi);
        open();
        // A key's face lies one unit inside its slice of the strip on either side.
        for (Strip which : {kStripForm, kStripConfirm, kStripConfirmOrCreate}) {
            ButtonStrip& strip = m_window->strip(which);
            for (int b = 0; b < strip.buttonCount(); ++b) {
                RECT button = strip.buttonRect(b);
                int room = button.right - button.left - 2 * scaleX(1);
                EXPECT_FALSE(strip.label(b).empty()) << context << " button " << b;
                EXPECT_LE(widthInSharedFont(2, strip.label(b)), room) << context << " button " << b;
            }
        }
        RECT date = m_window->fieldPanel().fieldRect(1);
        EXPECT_LE(widthInSharedFont(2, m_window->draft().dateText()), date.right - date.left - 2 * scaleX(4))
            << context;
    }
}

TEST_F(LayoutTest, TheSettingsPageFillsTheClientAreaBelowTheHeader) {
    open();
    SendMessageW(mainWindow(), WM_COMMAND, kCmdSettings,
                 reinterpret_cast<LPARAM>(m_window->headerBar().window()));
    RECT page = screenRect(m_window->settingsPage().window());
    EXPECT_EQ(page.top, headerHeight());
    EXPECT_EQ(page.left, 0);
    EXPECT_EQ(page.right, 240);
    EXPECT_EQ(page.bottom, 320);
    EXPECT_FALSE(keyboardVisible());
    expectNoOverlap("settings page", 2);
}

}  // namespace
}  // namespace shelltest

// Menus and TrackPopupMenu: building and changing menus, loading one from a resource, choosing an
// item with a tap (returned or posted as WM_COMMAND), cancelling with a tap outside or Escape,
// grayed items, check marks and placement on the screen.
#include "DialogTestSupport.h"

using namespace dialogtest;
using platform::testing::MessageRecorder;
using platform::testing::pressKey;
using platform::testing::tap;

namespace {

// The screen point at the middle of item index of the tracked menu (all items the same height).
POINT itemPoint(HWND popup, int index, int count) {
    RECT client;
    GetClientRect(popup, &client);
    int height = client.bottom / count;
    POINT pt{client.right / 2, height * index + height / 2};
    ClientToScreen(popup, &pt);
    return pt;
}

class PopupMenuTest : public DialogTest {
  protected:
    void SetUp() override {
        DialogTest::SetUp();
        m_menu = LoadMenuW(module(), MAKEINTRESOURCEW(20));
        ASSERT_TRUE(m_menu);
    }
    void TearDown() override {
        DestroyMenu(m_menu);
        DialogTest::TearDown();
    }
    HMENU formats() const { return GetSubMenu(m_menu, 0); }

    // Tracks the formats menu at (x, y), tapping item index (or the point given) at the first idle.
    BOOL trackAndTap(UINT flags, int index, POINT outside = {-1, -1}) {
        IdleSteps steps;
        steps.then([&](HWND popup) {
            m_popupRect = RECT{};
            GetWindowRect(popup, &m_popupRect);
            POINT pt = index >= 0 ? itemPoint(popup, index, 4) : outside;
            tap(pt.x, pt.y);
        });
        return TrackPopupMenu(formats(), flags, 20, 60, 0, owner(), nullptr);
    }

    HMENU m_menu = nullptr;
    RECT m_popupRect{};
};

TEST_F(PopupMenuTest, ATapOnAnItemReturnsItsIdWithReturnCmd) {
    EXPECT_EQ(trackAndTap(TPM_RETURNCMD, 1), 102);
    EXPECT_EQ(m_popupRect.left, 20);
    EXPECT_EQ(m_popupRect.top, 60);
    EXPECT_EQ(FindWindowW(u"MenuPopup", nullptr), nullptr);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(PopupMenuTest, ATapOutsideCancels) {
    EXPECT_EQ(trackAndTap(TPM_RETURNCMD, -1, POINT{230, 300}), 0);
}

TEST_F(PopupMenuTest, WithoutReturnCmdTheCommandIsPostedToTheOwner) {
    MessageRecorder recorder;
    recorder.watch(owner());
    recorder.ignore(WM_PAINT);
    recorder.ignore(WM_ERASEBKGND);
    EXPECT_TRUE(trackAndTap(TPM_LEFTALIGN, 3));
    platform::testing::pumpMessages();
    EXPECT_TRUE(recorder.matches({{WM_INITMENUPOPUP, kSent | kWParam, reinterpret_cast<WPARAM>(formats())},
                                  {WM_ENTERIDLE, kSent | kWParam, MSGF_MENU},
                                  {WM_ACTIVATE, kSent | kWParam, WA_INACTIVE},
                                  {WM_KILLFOCUS, kSent | kOptional},
                                  {WM_ACTIVATE, kSent | kWParam, WA_ACTIVE},
                                  {WM_SETFOCUS, kSent},
                                  {WM_COMMAND, kPosted | kWParam | kLParam, MAKEWPARAM(104, 0), 0}},
                                 "owner of a pop-up menu whose item was tapped"));
    EXPECT_TRUE(trackAndTap(TPM_LEFTALIGN, -1, POINT{0, 319}));
    EXPECT_EQ(GetActiveWindow(), owner());
    EXPECT_EQ(GetFocus(), owner());
    platform::testing::pumpMessages();
    EXPECT_TRUE(recorder.messagesOf(WM_COMMAND).empty());
}

TEST_F(PopupMenuTest, GrayedItemsCannotBeChosenAndEscapeCancels) {
    IdleSteps steps;
    steps
        .then([](HWND popup) {
            POINT pt = itemPoint(popup, 2, 4);
            tap(pt.x, pt.y);
        })
        .then([](HWND popup) {
            EXPECT_TRUE(IsWindowVisible(popup));
            pressKey(VK_ESCAPE);
        });
    EXPECT_EQ(TrackPopupMenu(formats(), TPM_RETURNCMD, 20, 60, 0, owner(), nullptr), 0);
}

TEST_F(PopupMenuTest, KeysMoveTheHighlightAndEnterChoosesSkippingGrayedItems) {
    IdleSteps steps;
    steps.then([](HWND) {
        pressKey(VK_DOWN);
        pressKey(VK_DOWN);
        pressKey(VK_DOWN);
        pressKey(VK_RETURN);
    });
    EXPECT_EQ(TrackPopupMenu(formats(), TPM_RETURNCMD, 0, 0, 0, owner(), nullptr), 104);
}

TEST_F(PopupMenuTest, TheMenuStaysOnTheScreenWhateverTheAlignment) {
    IdleSteps steps;
    RECT placed{};
    steps.then([&](HWND popup) {
        GetWindowRect(popup, &placed);
        pressKey(VK_ESCAPE);
    });
    TrackPopupMenu(formats(), TPM_RETURNCMD | TPM_RIGHTALIGN | TPM_BOTTOMALIGN, 5, 5, 0, owner(), nullptr);
    EXPECT_EQ(placed.left, 0);
    EXPECT_EQ(placed.top, 0);
    steps.then([&](HWND popup) {
        GetWindowRect(popup, &placed);
        pressKey(VK_ESCAPE);
    });
    TrackPopupMenu(formats(), TPM_RETURNCMD, 235, 315, 0, owner(), nullptr);
    EXPECT_EQ(placed.right, 240);
    EXPECT_EQ(placed.bottom, 320);
}

// Counts dark pixels in the check column of a row of the tracked menu.
int darkPixelsInCheckColumn(HWND popup, int index) {
    RECT client;
    GetClientRect(popup, &client);
    int height = client.bottom / 4;
    int dark = 0;
    for (int y = height * index; y < height * (index + 1); ++y) {
        for (int x = 0; x < 18; ++x) {
            POINT pt{x, y};
            ClientToScreen(popup, &pt);
            COLORREF c = platform::testing::screenPixel(pt.x, pt.y);
            if (GetRValue(c) < 100 && GetGValue(c) < 100 && GetBValue(c) < 100) ++dark;
        }
    }
    return dark;
}

TEST_F(PopupMenuTest, CheckedItemsShowACheckMark) {
    IdleSteps steps;
    int checked = 0;
    int plain = 0;
    steps.then([&](HWND popup) {
        checked = darkPixelsInCheckColumn(popup, 0);
        plain = darkPixelsInCheckColumn(popup, 1);
        pressKey(VK_ESCAPE);
    });
    TrackPopupMenu(formats(), TPM_RETURNCMD, 20, 60, 0, owner(), nullptr);
    EXPECT_GT(checked, 5);
    EXPECT_EQ(plain, 0);
}

TEST_F(PopupMenuTest, BuildingAndChangingMenus) {
    HMENU menu = CreatePopupMenu();
    ASSERT_TRUE(AppendMenuW(menu, MF_STRING, 1, u"one"));
    ASSERT_TRUE(AppendMenuW(menu, MF_SEPARATOR, 0, nullptr));
    ASSERT_TRUE(AppendMenuW(menu, MF_STRING | MF_GRAYED, 3, u"three"));
    ASSERT_TRUE(InsertMenuW(menu, 0, MF_BYPOSITION | MF_STRING, 0, u"zero"));
    ASSERT_TRUE(InsertMenuW(menu, 3, MF_BYCOMMAND | MF_STRING, 2, u"two"));
    EXPECT_EQ(GetMenuItemCount(menu), 5);
    const UINT kIds[] = {0, 1, 0, 2, 3};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(GetMenuItemID(menu, i), kIds[i]) << i;
    EXPECT_EQ(CheckMenuItem(menu, 1, MF_BYCOMMAND | MF_CHECKED), static_cast<DWORD>(MF_UNCHECKED));
    EXPECT_EQ(CheckMenuItem(menu, 1, MF_BYCOMMAND | MF_UNCHECKED), static_cast<DWORD>(MF_CHECKED));
    EXPECT_EQ(CheckMenuItem(menu, 99, MF_BYCOMMAND), static_cast<DWORD>(-1));
    EXPECT_EQ(EnableMenuItem(menu, 3, MF_BYCOMMAND | MF_ENABLED), MF_GRAYED);
    EXPECT_EQ(GetMenuState(menu, 3, MF_BYCOMMAND) & MF_GRAYED, 0u);
    HMENU bar = CreateMenu();
    ASSERT_TRUE(AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(menu), u"File"));
    EXPECT_EQ(GetSubMenu(bar, 0), menu);
    EXPECT_EQ(CheckMenuItem(bar, 2, MF_BYCOMMAND | MF_CHECKED), static_cast<DWORD>(MF_UNCHECKED));
    EXPECT_TRUE(DeleteMenu(bar, 0, MF_BYPOSITION));
    EXPECT_EQ(GetMenuItemCount(menu), -1);  // destroyed with its parent's item
    EXPECT_TRUE(DestroyMenu(bar));
    EXPECT_FALSE(DestroyMenu(bar));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_MENU_HANDLE));
    EXPECT_FALSE(TrackPopupMenu(bar, TPM_RETURNCMD, 0, 0, 0, owner(), nullptr));
    EXPECT_EQ(LoadMenuW(module(), MAKEINTRESOURCEW(77)), nullptr);
}

}  // namespace

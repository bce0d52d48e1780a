// The finger combo box and its drop list: the label and the current row, the drop list's geometry
// and height for short lists, opening by the drop key, the label and the arrow keys, picking a row,
// closing on a tap outside without changing the current row, the page keys with their repeat, the
// messages the drop list sends its owner, and the focus returning to the window that had it.

#include "ControlMessages.h"
#include "ControlsFixture.h"
#include "FingerComboBox.h"
#include "platform/resources.h"
#include "resources/DashelResources.h"

using controlstest::ControlsTest;
using platform::testing::advanceAndPump;
using platform::testing::pumpMessages;
using platform::testing::RecordedMessage;

namespace {

constexpr int kComboX = 120;
constexpr int kComboY = 60;

std::vector<ListItem> currencies(int count) {
    static const char16_t* const kCodes[] = {u"RUB", u"USD", u"EUR", u"GBP", u"JPY", u"CHF",
                                             u"CNY", u"SEK", u"NOK", u"PLN", u"CZK", u"TRY"};
    std::vector<ListItem> items;
    for (int i = 0; i < count; ++i) {
        ListItem item;
        item.text = kCodes[i % 12];
        item.id = static_cast<uint32_t>(i + 1);
        items.push_back(item);
    }
    return items;
}

RECT screenRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

POINT centreOf(HWND window) {
    RECT rect = screenRect(window);
    return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

struct FingerComboBoxTest : ControlsTest {
    FingerComboBox combo;
    HWND focusHolder = nullptr;

    void SetUp() override {
        ControlsTest::SetUp();
        platform::registerModuleResources(GetModuleHandleW(nullptr), dashelResourceTable());
        ASSERT_TRUE(combo.create(parent.window(), kComboX, kComboY, GetModuleHandleW(nullptr)));
        combo.setItems(currencies(12));
        focusHolder = CreateWindowExW(0, WC_BUTTON, u"focus", WS_CHILD | WS_VISIBLE, 0, 280, 40, 20,
                                      parent.window(), nullptr, nullptr, nullptr);
        SetFocus(focusHolder);
        pumpMessages();
    }
    void TearDown() override {
        combo.destroy();
        ControlsTest::TearDown();
    }
    void tapAt(POINT p) {
        platform::testing::tap(p.x, p.y);
        pumpMessages();
    }
    // The screen point of the drop list's visible row `row`.
    POINT rowPoint(int row) {
        RECT view = screenRect(combo.dropList().view().window());
        return POINT{(view.left + view.right) / 2, view.top + row * scaleY(31) + scaleY(31) / 2};
    }
};

TEST_F(FingerComboBoxTest, TheLabelShowsTheCurrentRow) {
    FingerComboBox fresh;
    ASSERT_TRUE(fresh.create(parent.window(), 10, 10, GetModuleHandleW(nullptr)));
    EXPECT_TRUE(std::u16string(fresh.label().text()) == u"XXX");
    EXPECT_EQ(fresh.currentItem(), nullptr);
    RECT rect = screenRect(fresh.window());
    EXPECT_EQ(rect.right - rect.left, 53);
    EXPECT_EQ(rect.bottom - rect.top, 15);
    fresh.destroy();

    EXPECT_EQ(combo.currentIndex(), 0);
    EXPECT_TRUE(std::u16string(combo.label().text()) == u"RUB");
    combo.select(2);
    EXPECT_TRUE(std::u16string(combo.label().text()) == u"EUR");
    EXPECT_EQ(combo.currentItem()->id, 3u);
    EXPECT_EQ(combo.dropList().view().selectedIndex(), 2);
    EXPECT_FALSE(combo.changed()) << "only the user's pick sets the flag";
}

TEST_F(FingerComboBoxTest, TheDropListOpensBelowAndLeftOfTheComboBox) {
    tapAt(centreOf(combo.dropKey().window()));
    ASSERT_TRUE(combo.isOpen());
    RECT drop = screenRect(combo.dropList().window());
    EXPECT_EQ(drop.left, kComboX - 29);
    EXPECT_EQ(drop.top, kComboY + 14);
    EXPECT_EQ(drop.right - drop.left, 44 + 2 + 34);
    EXPECT_EQ(drop.bottom - drop.top, 5 * 31 + 2);
    RECT view = screenRect(combo.dropList().view().window());
    EXPECT_EQ(view.left - drop.left, 1);
    EXPECT_EQ(view.bottom - view.top, 5 * 31);
    RECT up = screenRect(combo.dropList().pageKey(FingerDropList::kPageUpKey).window());
    RECT down = screenRect(combo.dropList().pageKey(FingerDropList::kPageDownKey).window());
    EXPECT_EQ(up.left - drop.left, 34 + 1);
    EXPECT_EQ(up.top - drop.top, 1);
    EXPECT_EQ(down.top - drop.top, 79);
    EXPECT_EQ(down.bottom - down.top, 77);
    EXPECT_EQ(GetFocus(), combo.dropList().view().window()) << "the list takes the focus";
    EXPECT_EQ(GetCapture(), combo.dropList().window()) << "the open list holds the stylus";

    // A drop list of three rows is only three rows high.
    combo.close();
    combo.setItems(currencies(3));
    combo.open();
    view = screenRect(combo.dropList().view().window());
    EXPECT_EQ(view.bottom - view.top, 3 * 31);
}

TEST_F(FingerComboBoxTest, PickingARowMakesItCurrentClosesTheListAndGivesTheFocusBack) {
    combo.select(1);
    tapAt(centreOf(combo.label().window()));
    ASSERT_TRUE(combo.isOpen()) << "a tap on the label opens the list";
    EXPECT_EQ(combo.dropList().view().selectedIndex(), 1) << "the current row is marked";
    platform::testing::MessageRecorder recorder;
    recorder.watch(combo.window());
    int top = combo.dropList().view().topIndex();
    tapAt(rowPoint(4));
    EXPECT_FALSE(combo.isOpen());
    EXPECT_EQ(combo.currentIndex(), top + 4);
    EXPECT_TRUE(combo.changed());
    EXPECT_TRUE(std::u16string(combo.label().text()) == combo.currentItem()->text);
    EXPECT_EQ(GetFocus(), focusHolder);
    EXPECT_EQ(GetCapture(), nullptr);
    std::vector<RecordedMessage> confirmed = recorder.messagesOf(WM_LIST_CONFIRMED);
    ASSERT_EQ(confirmed.size(), 1u);
    EXPECT_EQ(confirmed[0].wParam, static_cast<WPARAM>(top + 4));
    EXPECT_EQ(confirmed[0].lParam, reinterpret_cast<LPARAM>(combo.currentItem()));
    EXPECT_TRUE(confirmed[0].posted);
}

TEST_F(FingerComboBoxTest, ATapOutsideClosesTheListWithoutChangingTheCurrentRow) {
    combo.select(2);
    SendMessageW(combo.window(), WM_KEYDOWN, VK_DOWN, 0);
    ASSERT_TRUE(combo.isOpen()) << "the arrow keys open the list";
    // The lift of the tap that opened the list is not a tap outside.
    platform::testing::stylusUp(5, 300);
    pumpMessages();
    EXPECT_TRUE(combo.isOpen());
    // The page key moves the selection in the list; the tap outside discards it.
    tapAt(centreOf(combo.dropList().pageKey(FingerDropList::kPageDownKey).window()));
    EXPECT_EQ(combo.dropList().view().selectedIndex(), 6);
    platform::testing::MessageRecorder recorder;
    recorder.watch(combo.window());
    tapAt(POINT{5, 300});
    EXPECT_FALSE(combo.isOpen());
    EXPECT_EQ(combo.currentIndex(), 2);
    EXPECT_EQ(combo.dropList().view().selectedIndex(), 2);
    EXPECT_FALSE(combo.changed());
    EXPECT_EQ(GetFocus(), focusHolder);
    // The down outside asks to close, and so does the up of the same tap (the down armed the list).
    std::vector<RecordedMessage> closes = recorder.messagesOf(WM_DROPLIST_CLOSE);
    ASSERT_EQ(closes.size(), 2u);
    EXPECT_TRUE(closes[0].posted);
    EXPECT_TRUE(recorder.messagesOf(WM_LIST_CONFIRMED).empty());
}

TEST_F(FingerComboBoxTest, AHeldPageKeyRepeatsEvery150MsAndGivesTheFocusBackToTheList) {
    combo.open();
    FingerListView& view = combo.dropList().view();
    ASSERT_EQ(view.selectedIndex(), 0);
    POINT key = centreOf(combo.dropList().pageKey(FingerDropList::kPageDownKey).window());
    platform::testing::stylusDown(key.x, key.y);
    pumpMessages();
    EXPECT_EQ(view.selectedIndex(), 4) << "one page at once";
    advanceAndPump(149);
    EXPECT_EQ(view.selectedIndex(), 4);
    advanceAndPump(1);
    EXPECT_EQ(view.selectedIndex(), 7) << "the rows stop at the last page, the selection keeps its place";
    advanceAndPump(150);
    EXPECT_EQ(view.selectedIndex(), 11);
    platform::testing::stylusUp(key.x, key.y);
    pumpMessages();
    advanceAndPump(600);
    EXPECT_EQ(view.selectedIndex(), 11) << "no repeat after the release";
    EXPECT_EQ(view.topIndex(), 7);
    EXPECT_EQ(GetFocus(), view.window());
    EXPECT_TRUE(combo.isOpen());
    EXPECT_EQ(GetCapture(), combo.dropList().window()) << "the key gave the stylus back to the list";
    platform::testing::pressKey(VK_RETURN);
    pumpMessages();
    EXPECT_FALSE(combo.isOpen());
    EXPECT_EQ(combo.currentIndex(), 11);
}

TEST_F(FingerComboBoxTest, TheListsOwnMessagesArePassedOnToTheOwner) {
    platform::testing::MessageRecorder recorder;
    recorder.watch(combo.window());
    PostMessageW(combo.dropList().window(), WM_LIST_NOTIFY, 7, 9);
    pumpMessages();
    std::vector<RecordedMessage> passed = recorder.messagesOf(WM_LIST_NOTIFY);
    ASSERT_EQ(passed.size(), 1u);
    EXPECT_EQ(passed[0].wParam, 7u);
    EXPECT_EQ(passed[0].lParam, 9);
}

}  // namespace

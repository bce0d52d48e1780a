// The finger list: its caption, the list's width with and without the scroll bar, the
// notifications it passes on, and its scroll bar: arrows that repeat while held, track paging up to
// the press point, thumb dragging, the release that snaps the rows, and the thumb following drags.

#include "ControlMessages.h"
#include "ControlsFixture.h"
#include "FingerList.h"

using controlstest::ControlsTest;
using controlstest::Note;
using platform::testing::advanceAndPump;
using platform::testing::pumpMessages;

namespace {

constexpr int kLeft = 0;
constexpr int kTop = 40;
constexpr int kRow = 28;

std::vector<ListItem> rows(int count) {
    std::vector<ListItem> items(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        items[static_cast<size_t>(i)].text =
            u"Row " + std::u16string(1, static_cast<char16_t>(u'a' + i % 26));
    return items;
}

RECT screenRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

struct FingerListTest : ControlsTest {
    FingerList list;

    void SetUp() override {
        ControlsTest::SetUp();
        ASSERT_TRUE(list.create(parent.window(), kLeft, kTop));
        pumpMessages();
    }
    void TearDown() override {
        list.destroy();
        ControlsTest::TearDown();
    }
    // A screen point of the scroll bar, dy pixels from its top.
    POINT barPoint(int dy) const {
        RECT bar = screenRect(list.scrollBar().window());
        return POINT{(bar.left + bar.right) / 2, bar.top + dy};
    }
};

TEST_F(FingerListTest, AShortListShowsFiveRowsWithoutAScrollBarAndALongOneNarrowsForIt) {
    RECT control = screenRect(list.window());
    EXPECT_EQ(control.right - control.left, 240);
    EXPECT_EQ(control.bottom - control.top, 5 * kRow + 15);
    EXPECT_TRUE(std::u16string(list.caption()) == u"FingerList");

    list.setItems(rows(3));
    RECT view = screenRect(list.view().window());
    EXPECT_EQ(view.bottom - view.top, 5 * kRow) << "five rows even for three items";
    EXPECT_EQ(view.right - view.left, 240 - 2 - 2);
    EXPECT_EQ(view.left - control.left, 3);
    EXPECT_EQ(view.top - control.top, 14);
    EXPECT_FALSE(IsWindowVisible(list.scrollBar().window()));

    list.setItems(rows(20));
    view = screenRect(list.view().window());
    RECT bar = screenRect(list.scrollBar().window());
    EXPECT_TRUE(IsWindowVisible(list.scrollBar().window()));
    EXPECT_EQ(view.right - view.left, 240 - 2 - 2 - 13 - 1);
    EXPECT_EQ(bar.right, control.right);
    EXPECT_EQ(bar.right - bar.left, 13);
    EXPECT_EQ(list.scrollBar().range(), 20 * kRow);
    EXPECT_EQ(list.scrollBar().page(), 5 * kRow);

    list.setCaption(u"Payees (20) ");
    EXPECT_TRUE(std::u16string(list.caption()) == u"Payees (20) ");
}

TEST_F(FingerListTest, ConfirmationsAndTypedCharactersReachTheOwner) {
    list.setItems(rows(8));
    UpdateWindow(list.window());
    takeNotes({});
    RECT view = screenRect(list.view().window());
    platform::testing::tap(view.left + 20, view.top + kRow + 5);
    pumpMessages();
    SendMessageW(list.view().window(), WM_CHAR, u'x', 1);
    const ListItem* second = &list.view().items()[1];
    EXPECT_EQ(
        takeNotes({WM_LIST_CONFIRMED, WM_CHAR}),
        (std::vector<Note>{{WM_LIST_CONFIRMED, 1, reinterpret_cast<LPARAM>(second)}, {WM_CHAR, u'x', 1}}));
}

TEST_F(FingerListTest, AnArrowScrollsARowAtOnceRepeatsWhileHeldAndTheReleaseSnaps) {
    list.setItems(rows(20));
    UpdateWindow(list.window());
    platform::testing::MessageRecorder recorder;
    recorder.watch(list.window());
    POINT down = barPoint(5 * kRow - 5);
    platform::testing::stylusDown(down.x, down.y);
    pumpMessages();
    EXPECT_EQ(list.scrollBar().heldPart(), FingerScrollBar::Part::DownArrow);
    EXPECT_EQ(FingerList::sharedScrollOffset(), kRow) << "one row at once";
    advanceAndPump(99);
    EXPECT_EQ(FingerList::sharedScrollOffset(), kRow);
    advanceAndPump(1);
    advanceAndPump(100);
    EXPECT_EQ(FingerList::sharedScrollOffset(), 3 * kRow) << "and one more every 100 ms";
    EXPECT_EQ(list.scrollBar().position(), 3 * kRow);
    EXPECT_EQ(list.view().topIndex(), 0) << "the rows are only drawn moved until the release";
    platform::testing::stylusUp(down.x, down.y);
    pumpMessages();
    EXPECT_EQ(list.view().topIndex(), 3);
    EXPECT_EQ(FingerList::sharedScrollOffset(), 0);
    EXPECT_EQ(list.scrollBar().position(), 3 * kRow);
    advanceAndPump(300);
    EXPECT_EQ(list.view().topIndex(), 3) << "nothing repeats after the release";

    std::vector<platform::testing::RecordedMessage> scrolls = recorder.messagesOf(WM_VSCROLL);
    ASSERT_EQ(scrolls.size(), 3u);
    for (const auto& scroll : scrolls)
        EXPECT_EQ(LOWORD(scroll.wParam), SB_LINEDOWN);
    auto released = recorder.messagesOf(WM_SCROLLBAR_RELEASED);
    ASSERT_EQ(released.size(), 1u);
    EXPECT_TRUE(released[0].posted);
}

TEST_F(FingerListTest, TheTrackPagesUntilTheThumbReachesThePressPointAndStopsAtTheEnd) {
    list.setItems(rows(40));
    UpdateWindow(list.window());
    FingerScrollBar& bar = list.scrollBar();
    RECT thumb = bar.thumbRect();
    EXPECT_EQ(thumb.top, bar.trackTop());
    EXPECT_EQ(thumb.bottom - thumb.top, std::max(15, (bar.trackBottom() - bar.trackTop()) * 5 / 40));
    POINT press = barPoint(bar.trackBottom() - 6);
    platform::testing::stylusDown(press.x, press.y);
    pumpMessages();
    EXPECT_EQ(FingerList::sharedScrollOffset(), 5 * kRow) << "a page at once";
    for (int i = 0; i < 20; ++i)
        advanceAndPump(FingerScrollBar::kRepeatMs);
    thumb = bar.thumbRect();
    EXPECT_GE(thumb.bottom, press.y - screenRect(bar.window()).top)
        << "paged until the thumb reached the point";
    EXPECT_LE(bar.position(), 35 * kRow);
    EXPECT_EQ(thumb.bottom <= bar.trackBottom(), true);
    platform::testing::stylusUp(press.x, press.y);
    pumpMessages();
    EXPECT_EQ(list.view().scrollPosition(), bar.position());
    EXPECT_EQ(list.view().scrollPosition() % kRow, 0);

    // At the end the requests are clamped: the rows stop at the last page.
    list.view().setTopIndex(35);
    UpdateWindow(list.window());
    bar.setPosition(35 * kRow);
    POINT down = barPoint(5 * kRow - 3);
    platform::testing::tap(down.x, down.y);
    pumpMessages();
    EXPECT_EQ(list.view().topIndex(), 35);
    EXPECT_EQ(bar.thumbRect().bottom, bar.trackBottom());
}

TEST_F(FingerListTest, DraggingTheThumbMovesTheRowsAndTheReleaseSnapsToAWholeRow) {
    list.setItems(rows(40));
    UpdateWindow(list.window());
    FingerScrollBar& bar = list.scrollBar();
    RECT thumb = bar.thumbRect();
    POINT grab = barPoint((thumb.top + thumb.bottom) / 2);
    platform::testing::stylusDown(grab.x, grab.y);
    pumpMessages();
    ASSERT_EQ(bar.heldPart(), FingerScrollBar::Part::Thumb);
    platform::testing::stylusMove(grab.x, grab.y + 33);
    pumpMessages();
    int tracked = bar.trackPosition();
    EXPECT_GT(tracked, 0);
    EXPECT_EQ(FingerList::sharedScrollOffset(), tracked);
    EXPECT_EQ(bar.position(), tracked);
    platform::testing::stylusUp(grab.x, grab.y + 33);
    pumpMessages();
    EXPECT_EQ(list.view().topIndex(), (tracked + kRow / 2) / kRow);
    EXPECT_EQ(FingerList::sharedScrollOffset(), 0);
}

TEST_F(FingerListTest, TheThumbFollowsTheRowsAsTheFingerDragsThem) {
    list.setItems(rows(40));
    list.view().setTopIndex(10);
    UpdateWindow(list.window());
    pumpMessages();
    EXPECT_EQ(list.scrollBar().position(), 10 * kRow) << "a full redraw reports the rows at rest";
    RECT view = screenRect(list.view().window());
    platform::testing::stylusDown(view.left + 20, view.top + 100);
    pumpMessages();
    advanceAndPump(10);
    platform::testing::stylusMove(view.left + 20, view.top + 40);
    pumpMessages();
    EXPECT_EQ(list.scrollBar().position(), 10 * kRow + 30) << "half the finger's 60 pixels";
    platform::testing::stylusUp(view.left + 20, view.top + 40);
    pumpMessages();
    advanceAndPump(5000);
}

}  // namespace

// The finger list view as a window: selection that keeps the row visible, keys and page keys at
// both ends of short and long lists, the window's height, taps, holds and flicks fed through the
// stylus on the virtual clock with the notifications they post, the shortened, indented and right
// texts it draws, and the capture handed back after a press.

#include "ControlMessages.h"
#include "ControlsFixture.h"
#include "FingerListView.h"

using controlstest::ControlsTest;
using controlstest::inkedOnScreen;
using controlstest::Note;
using platform::testing::advanceAndPump;
using platform::testing::pumpMessages;

namespace {

constexpr int kLeft = 10;
constexpr int kTop = 20;
constexpr int kWidth = 200;
constexpr int kRow = 28;

std::vector<ListItem> numbered(int count) {
    std::vector<ListItem> items;
    for (int i = 0; i < count; ++i) {
        ListItem item;
        item.text = u"Item " + std::u16string(1, static_cast<char16_t>(u'A' + i % 26));
        item.id = static_cast<uint32_t>(100 + i);
        items.push_back(item);
    }
    return items;
}

LPARAM addressOf(const FingerListView& view, int index) {
    return reinterpret_cast<LPARAM>(&view.items()[static_cast<size_t>(index)]);
}

struct FingerListViewTest : ControlsTest {
    FingerListView view;

    void SetUp() override {
        ControlsTest::SetUp();
        ASSERT_TRUE(view.create(parent.window(), kLeft, kTop, kWidth, kRow));
        view.setItems(numbered(20));
        pumpMessages();
    }
    void TearDown() override {
        view.destroy();
        ControlsTest::TearDown();
    }
    // The screen point of row `row` (counted from the top visible row), dy pixels into it.
    static POINT rowPoint(int row, int dy = kRow / 2) { return POINT{kLeft + 50, kTop + row * kRow + dy}; }
    // Moves the stylus from `from` to `to` in steps of 10 ms on the virtual clock, then lifts it.
    void drag(POINT from, POINT to, int ms) {
        platform::testing::stylusDown(from.x, from.y);
        pumpMessages();
        int steps = std::max(1, ms / 10);
        for (int i = 1; i <= steps; ++i) {
            advanceAndPump(10);
            platform::testing::stylusMove(from.x + (to.x - from.x) * i / steps,
                                          from.y + (to.y - from.y) * i / steps);
            pumpMessages();
        }
        platform::testing::stylusUp(to.x, to.y);
        pumpMessages();
    }
    // Lets the motion run out tick by tick (bounded).
    void runToRest() {
        for (int i = 0; i < 400 && view.motion().state() != KineticScroll::State::Idle; ++i)
            advanceAndPump(KineticScroll::kTickMs);
    }
};

TEST_F(FingerListViewTest, SelectingARowOutsideTheVisibleOnesBringsItToTheThirdPlace) {
    struct Case {
        int select;
        int selected;
        int top;
    };
    // Each case starts from the state the one before left.
    const Case cases[] = {{7, 7, 5},   {19, 19, 15}, {16, 16, 15}, {2, 2, 0},
                          {-1, -1, 0}, {12, 12, 10}, {20, -1, 0},  {4, 4, 0}};
    for (const Case& c : cases) {
        view.select(c.select);
        EXPECT_EQ(view.selectedIndex(), c.selected) << "select(" << c.select << ")";
        EXPECT_EQ(view.topIndex(), c.top) << "select(" << c.select << ")";
    }
    EXPECT_EQ(view.selectedItem()->id, 104u);
}

TEST_F(FingerListViewTest, KeysMoveTheSelectionAndKeepItVisible) {
    SetFocus(view.window());
    platform::testing::pressKey(VK_UP);
    pumpMessages();
    EXPECT_EQ(view.selectedIndex(), -1) << "VK_UP with no selection does nothing";
    view.select(4);
    platform::testing::pressKey(VK_DOWN);
    pumpMessages();
    EXPECT_EQ(view.selectedIndex(), 5);
    EXPECT_EQ(view.topIndex(), 1) << "the row below the fifth makes the rows follow";
    view.select(19);
    platform::testing::pressKey(VK_DOWN);
    pumpMessages();
    EXPECT_EQ(view.selectedIndex(), 19) << "VK_DOWN on the last row does nothing";
    view.select(15);
    ASSERT_EQ(view.topIndex(), 15);
    platform::testing::pressKey(VK_UP);
    pumpMessages();
    EXPECT_EQ(view.selectedIndex(), 14);
    EXPECT_EQ(view.topIndex(), 14);
    takeNotes({});
    platform::testing::pressKey(VK_RETURN);
    EXPECT_EQ(takeNotes({WM_LIST_CONFIRMED}),
              (std::vector<Note>{{WM_LIST_CONFIRMED, 14, addressOf(view, 14)}}));
}

TEST_F(FingerListViewTest, PageKeysStopAtBothEndsOfShortAndLongLists) {
    struct Case {
        int count;
        int top;
        int selected;
        int direction;
        int newTop;
        int newSelected;
    };
    const Case cases[] = {
        {20, 5, 7, 1, 9, 11},  // the middle: rows and selection move four
        {20, 5, 7, -1, 1, 3},
        {20, 13, 14, 1, 15, 16},  // the rows stop at the last page; the selection
                                  // keeps its place
        {20, 15, 17, 1, 15, 19},  // the selection reaches the last row
        {20, 15, 19, 1, 15, 19},  // nothing is past the last row
        {20, 2, 6, -1, 0, 4},     // the rows stop at the top; the selection keeps its place
        {20, 0, 3, -1, 0, 0},     // the selection reaches the first row
        {20, 0, 0, -1, 0, 0},
        {3, 0, 0, 1, 0, 2},  // a short list never scrolls
        {3, 0, 2, 1, 0, 2},
        {3, 0, 2, -1, 0, 0},
        {3, 0, 0, -1, 0, 0},
    };
    for (const Case& c : cases) {
        view.setItems(numbered(c.count));
        view.select(c.selected);
        view.setTopIndex(c.top);
        ASSERT_EQ(view.topIndex(), c.top) << c.count << " rows";
        view.page(c.direction);
        EXPECT_EQ(view.topIndex(), c.newTop)
            << c.count << " rows, top " << c.top << ", row " << c.selected << ", direction " << c.direction;
        EXPECT_EQ(view.selectedIndex(), c.newSelected)
            << c.count << " rows, top " << c.top << ", row " << c.selected << ", direction " << c.direction;
    }
}

TEST_F(FingerListViewTest, TheWindowIsFiveRowsHighUnlessItFitsAShortList) {
    auto height = [&] {
        RECT rect{};
        GetWindowRect(view.window(), &rect);
        return rect.bottom - rect.top;
    };
    view.setItems(numbered(3));
    EXPECT_EQ(height(), 5 * kRow);
    view.setFitToCount(true);
    view.setItems(numbered(3));
    EXPECT_EQ(height(), 3 * kRow);
    view.setItems(numbered(9));
    EXPECT_EQ(height(), 5 * kRow);
}

TEST_F(FingerListViewTest, ATapSelectsAndConfirmsTheRowItWasLiftedOnAndBelowTheRowsTellsTheParent) {
    takeNotes({});
    platform::testing::stylusDown(rowPoint(1, kRow - 2).x, rowPoint(1, kRow - 2).y);
    pumpMessages();
    advanceAndPump(200);
    // Four pixels down: within the tap's slop, over the next row.
    platform::testing::stylusUp(rowPoint(2, 2).x, rowPoint(2, 2).y);
    pumpMessages();
    EXPECT_EQ(view.selectedIndex(), 2);
    EXPECT_EQ(takeNotes({WM_LIST_CONFIRMED, WM_LBUTTONUP}),
              (std::vector<Note>{{WM_LIST_CONFIRMED, 2, addressOf(view, 2)}}));
    EXPECT_EQ(GetCapture(), nullptr);

    view.setItems(numbered(3));
    pumpMessages();
    takeNotes({});
    platform::testing::tap(rowPoint(4).x, rowPoint(4).y);
    EXPECT_EQ(takeNotes({WM_LIST_CONFIRMED, WM_LBUTTONUP}),
              (std::vector<Note>{{WM_LBUTTONUP, 0, MAKELPARAM(50, 4 * kRow + kRow / 2)}}))
        << "a tap below the rows, in the list's coordinates";
    EXPECT_EQ(view.selectedIndex(), -1);
}

TEST_F(FingerListViewTest, HoldingStillConfirmsThePressedRowBeforeTheFingerLifts) {
    takeNotes({});
    POINT press = rowPoint(3);
    platform::testing::stylusDown(press.x, press.y);
    pumpMessages();
    advanceAndPump(499);
    EXPECT_EQ(takeNotes({WM_LIST_CONFIRMED}), std::vector<Note>{});
    advanceAndPump(1);
    EXPECT_EQ(takeNotes({WM_LIST_CONFIRMED}),
              (std::vector<Note>{{WM_LIST_CONFIRMED, 3, addressOf(view, 3)}}));
    EXPECT_EQ(GetCapture(), nullptr) << "the hold let go of the stylus";
    platform::testing::stylusUp(press.x, press.y + 3);
    EXPECT_EQ(takeNotes({WM_LIST_CONFIRMED, WM_LBUTTONUP}), std::vector<Note>{})
        << "lifting does nothing more";
}

TEST_F(FingerListViewTest, AFlickScrollsOnAfterTheFingerLiftsAndRestsOnAWholeRow) {
    takeNotes({});
    drag(rowPoint(4), rowPoint(1), 60);  // three rows up in 60 ms
    EXPECT_EQ(view.motion().state(), KineticScroll::State::Inertia);
    std::vector<Note> during = takeNotes({WM_LIST_SCROLLED, WM_LIST_CONFIRMED});
    ASSERT_FALSE(during.empty());
    for (const Note& note : during) {
        EXPECT_EQ(note.message, WM_LIST_SCROLLED) << "a flick confirms nothing";
        EXPECT_GT(static_cast<int>(note.wParam), 0) << "the rows move up while the finger drags";
    }
    runToRest();
    EXPECT_EQ(view.motion().state(), KineticScroll::State::Idle);
    EXPECT_GT(view.topIndex(), 2) << "inertia carried the rows past where the finger left them";
    std::vector<Note> after = takeNotes({WM_LIST_SCROLLED});
    ASSERT_FALSE(after.empty());
    EXPECT_EQ(after.back(), (Note{WM_LIST_SCROLLED, 0, 0})) << "at rest the offset is 0";
    EXPECT_EQ(view.selectedIndex(), -1);
    // At rest the top visible row starts at the list's top edge.
    int top = view.topIndex();
    EXPECT_EQ(view.shownText(top), view.items()[static_cast<size_t>(top)].text);
}

TEST_F(FingerListViewTest, ASlowDragSettlesWithoutInertia) {
    view.select(0);
    // Forty pixels up at once, then held there for three seconds before lifting.
    POINT from = rowPoint(2);
    platform::testing::stylusDown(from.x, from.y);
    pumpMessages();
    advanceAndPump(10);
    platform::testing::stylusMove(from.x, from.y - 40);
    advanceAndPump(3000);
    platform::testing::stylusUp(from.x, from.y - 40);
    pumpMessages();
    EXPECT_EQ(view.motion().state(), KineticScroll::State::Settling);
    runToRest();
    EXPECT_EQ(view.topIndex(), 1) << "20 pixels up: the nearest row";
    EXPECT_EQ(view.selectedIndex(), 0) << "dragging keeps the selection";
}

TEST_F(FingerListViewTest, LongTextsAreShortenedSubRowsIndentedAndRightTextsDrawnInTheirColour) {
    std::vector<ListItem> items(3);
    items[0].text = u"A long name that cannot fit into the narrow row at all";
    items[1].text = u"Short";
    items[1].parent = 0;
    items[2].text = u"Deeper";
    items[2].parent = 1;
    items[2].rightText = u"Rx";
    items[2].rightColor = RGB(255, 0, 0);
    view.setItems(items);
    UpdateWindow(view.window());
    std::u16string shown = view.shownText(0);
    ASSERT_GT(shown.size(), 3u);
    EXPECT_EQ(shown.substr(shown.size() - 3), u"...");
    EXPECT_EQ(items[0].text.substr(0, shown.size() - 3), shown.substr(0, shown.size() - 3));
    EXPECT_EQ(view.shownText(1), u"Short");
    EXPECT_GT(view.widestRightText(), 0);

    auto inkLeft = [&](int row) {
        RECT area{kLeft, kTop + row * kRow, kLeft + kWidth / 2, kTop + (row + 1) * kRow};
        return inkedOnScreen(area, FingerListView::kBackground).left - kLeft;
    };
    int top = inkLeft(0), sub = inkLeft(1), deeper = inkLeft(2);
    EXPECT_GE(top, 4);
    EXPECT_NEAR(sub - top, 8, 2) << "one level of indentation";
    EXPECT_NEAR(deeper - sub, 8, 2);
    RECT right{kLeft + kWidth / 2, kTop + 2 * kRow, kLeft + kWidth, kTop + 3 * kRow};
    RECT red = inkedOnScreen(right, FingerListView::kBackground);
    EXPECT_FALSE(IsRectEmpty(&red));
    EXPECT_LE(red.right, kLeft + kWidth - 3) << "the right text keeps off the row's right edge";
}

TEST_F(FingerListViewTest, ALoopOfParentsCountsAsTopLevel) {
    std::vector<ListItem> items(2);
    items[0].text = u"One";
    items[0].parent = 1;
    items[1].text = u"Two";
    items[1].parent = 0;
    view.setItems(items);
    UpdateWindow(view.window());
    EXPECT_EQ(view.shownText(0), u"One");
}

TEST_F(FingerListViewTest, TypedCharactersGoToTheParentAndTheCaptureGoesBack) {
    SetFocus(view.window());
    takeNotes({});
    SendMessageW(view.window(), WM_CHAR, u'd', 0x20001);
    EXPECT_EQ(takeNotes({WM_CHAR}), (std::vector<Note>{{WM_CHAR, u'd', 0x20001}}));

    // A window that holds the stylus (as an open drop list does) passes the press on to the list;
    // the list takes the capture for the press and gives it back afterwards.
    SetCapture(parent.window());
    SendMessageW(view.window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 14));
    EXPECT_EQ(GetCapture(), view.window());
    platform::testing::stylusUp(rowPoint(0).x, rowPoint(0).y);
    pumpMessages();
    EXPECT_EQ(GetCapture(), parent.window());
    EXPECT_EQ(view.selectedIndex(), 0);
    ReleaseCapture();
}

}  // namespace

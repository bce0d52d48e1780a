// The finger list's motion on numbers alone: flicks that slow by the friction inside and beyond the
// rows and rest on a whole row, taps and holds, slow releases, presses that interrupt a motion, and
// the effects each step asks of the window.

#include <gtest/gtest.h>

#include <cstdlib>

#include "KineticScroll.h"

namespace {

using State = KineticScroll::State;
constexpr int kRow = 28;
const KineticScroll::Distances kDistances{10, 2, 1};

KineticScroll listOf(int count, int top = 0) {
    KineticScroll scroll(kRow, kDistances);
    scroll.setCount(count);
    scroll.setTop(top);
    return scroll;
}

// Drags from y 300 up by `finger` pixels in `ms` milliseconds and lets go.
unsigned flick(KineticScroll& scroll, int finger, uint32_t ms) {
    scroll.press(20, 300, 1000);
    scroll.move(300 - finger / 2);
    scroll.move(300 - finger);
    return scroll.release(20, 300 - finger, 1000 + ms);
}

// Runs the ticks of the running motion until it rests; returns the number of ticks (bounded).
int runToRest(KineticScroll& scroll) {
    int ticks = 0;
    while (scroll.state() != State::Idle && ticks < 10000) {
        if (scroll.state() == State::Inertia) scroll.inertiaTick();
        if (scroll.state() == State::Settling) scroll.settleTick();
        ++ticks;
    }
    return ticks;
}

TEST(KineticScrollTest, AQuickFlickSlowsByTwentyPerTickAndRestsOnARowBoundary) {
    KineticScroll scroll = listOf(200);
    unsigned effects = flick(scroll, 100, 100);
    // Half the finger's 100 pixels over 100 ms: 500 pixels per second.
    EXPECT_EQ(scroll.state(), State::Inertia);
    EXPECT_EQ(scroll.speed(), 500);
    EXPECT_TRUE(effects & KineticScroll::kStartInertiaTimer);
    EXPECT_TRUE(effects & KineticScroll::kReleaseCapture);

    int previousOffset = scroll.offset();
    int ticks = 0;
    while (scroll.state() == State::Inertia) {
        int before = scroll.speed();
        effects = scroll.inertiaTick();
        ++ticks;
        EXPECT_EQ(before - scroll.speed(), 20) << "tick " << ticks;
        EXPECT_GT(scroll.notifiedOffset(), previousOffset) << "the rows keep moving up";
        EXPECT_TRUE(effects & KineticScroll::kNotifyOffset);
        previousOffset = scroll.notifiedOffset();
    }
    EXPECT_EQ(ticks, 25);
    // 50 pixels of drag, then (500+480)/10 + (480+460)/10 + ... + (20+0)/10.
    EXPECT_EQ(previousOffset, 50 + 1250);
    EXPECT_TRUE(effects & KineticScroll::kStopInertiaTimer);
    EXPECT_TRUE(effects & KineticScroll::kStartSettleTimer);
    ASSERT_EQ(scroll.state(), State::Settling);

    runToRest(scroll);
    EXPECT_EQ(scroll.offset(), 0);
    EXPECT_EQ(scroll.top(), (1300 + kRow / 2) / kRow) << "the nearest whole row";
    EXPECT_EQ(scroll.position() % kRow, 0);
}

TEST(KineticScrollTest, AFlickPastTheEndSlowsByThreeHundredAndSettlesBackToTheLastFullPage) {
    KineticScroll scroll = listOf(20, 14);  // the last full page starts at row 15
    ASSERT_EQ(scroll.maxTop(), 15);
    flick(scroll, 200, 100);
    ASSERT_EQ(scroll.speed(), 1000);
    int endOfRows = (20 - 5) * kRow;
    bool sawEdgeFriction = false;
    while (scroll.state() == State::Inertia) {
        int before = scroll.speed();
        bool beyond = scroll.position() > endOfRows;
        scroll.inertiaTick();
        int lost = before - scroll.speed();
        if (beyond) {
            sawEdgeFriction = true;
            EXPECT_TRUE(lost == 300 || scroll.speed() == 0) << "beyond the end: " << lost;
        } else {
            EXPECT_EQ(lost, 20);
        }
    }
    EXPECT_TRUE(sawEdgeFriction);
    ASSERT_EQ(scroll.state(), State::Settling);
    EXPECT_GT(scroll.position(), endOfRows) << "inertia ended past the end";
    int previous = scroll.position();
    while (scroll.state() == State::Settling) {
        scroll.settleTick();
        if (scroll.state() == State::Settling) {
            EXPECT_LT(scroll.position(), previous) << "settling moves back";
        }
        previous = scroll.position();
    }
    EXPECT_EQ(scroll.top(), 15);
    EXPECT_EQ(scroll.offset(), 0);
}

TEST(KineticScrollTest, AFlickAboveTheFirstRowSettlesBackToTheTop) {
    KineticScroll scroll = listOf(20, 1);
    flick(scroll, -200, 100);
    runToRest(scroll);
    EXPECT_EQ(scroll.top(), 0);
    EXPECT_EQ(scroll.position(), 0);
}

TEST(KineticScrollTest, AShortStillPressIsATapWhereTheFingerLifted) {
    KineticScroll scroll = listOf(20);
    EXPECT_EQ(scroll.press(30, 26, 0), KineticScroll::kStartHoldTimer);
    // Moves below the drag threshold are ignored.
    EXPECT_EQ(scroll.move(35), KineticScroll::kNoEffect);
    EXPECT_EQ(scroll.move(17), KineticScroll::kNoEffect);
    EXPECT_EQ(scroll.state(), State::Pressed);
    unsigned effects = scroll.release(31, 30, 400);
    EXPECT_EQ(effects, KineticScroll::kTap | KineticScroll::kStopHoldTimer | KineticScroll::kReleaseCapture);
    EXPECT_EQ(scroll.tapX(), 31);
    EXPECT_EQ(scroll.tapY(), 30) << "the row the finger was lifted on";
    EXPECT_EQ(scroll.state(), State::Idle);
}

TEST(KineticScrollTest, AHeldPressConfirmsBeforeTheFingerLifts) {
    KineticScroll scroll = listOf(20);
    scroll.press(40, 70, 0);
    scroll.move(74);
    unsigned effects = scroll.holdElapsed();
    EXPECT_EQ(effects, KineticScroll::kTap | KineticScroll::kStopHoldTimer | KineticScroll::kReleaseCapture);
    EXPECT_EQ(scroll.tapY(), 70) << "the row that was pressed";
    EXPECT_EQ(scroll.state(), State::Idle);
    EXPECT_EQ(scroll.release(40, 74, 900), KineticScroll::kNoEffect) << "lifting afterwards does nothing";
    // A hold timer that fires after a drag began finds nothing to confirm.
    scroll.press(40, 70, 1000);
    scroll.move(40);
    EXPECT_EQ(scroll.holdElapsed(), KineticScroll::kStopHoldTimer);
    EXPECT_EQ(scroll.state(), State::Dragging);
}

TEST(KineticScrollTest, DraggingMovesTheRowsHalfAsFarAsTheFinger) {
    KineticScroll scroll = listOf(20, 3);
    scroll.press(0, 100, 0);
    unsigned effects = scroll.move(90);  // exactly the threshold: the drag starts
    EXPECT_EQ(scroll.state(), State::Dragging);
    EXPECT_TRUE(effects & KineticScroll::kStopHoldTimer);
    EXPECT_TRUE(effects & KineticScroll::kDrawAtOffset);
    EXPECT_EQ(scroll.offset(), 5);
    EXPECT_EQ(scroll.notifiedOffset(), 5);
    scroll.move(133);
    EXPECT_EQ(scroll.offset(), -16) << "(100 - 133) / 2 toward zero";
    EXPECT_EQ(scroll.position(), 3 * kRow - 16);
    // Back within a pixel of the press: not drawn, still dragging.
    EXPECT_EQ(scroll.move(98) & KineticScroll::kDrawAtOffset, 0u);
    EXPECT_EQ(scroll.state(), State::Dragging);
}

TEST(KineticScrollTest, ASlowReleaseSettlesToTheNearestRow) {
    KineticScroll scroll = listOf(20, 2);
    scroll.press(0, 200, 0);
    scroll.move(170);
    unsigned effects = scroll.release(0, 170, 3000);  // 15 pixels in 3 s: 5 per second
    EXPECT_EQ(scroll.state(), State::Settling);
    EXPECT_TRUE(effects & KineticScroll::kStartSettleTimer);
    EXPECT_TRUE(effects & KineticScroll::kNotifyOffset);
    EXPECT_EQ(scroll.notifiedOffset(), 0);
    runToRest(scroll);
    EXPECT_EQ(scroll.top(), 3) << "15 pixels past row 2 is nearer row 3";
}

TEST(KineticScrollTest, APressDuringAMotionSnapsAndStartsANewPress) {
    KineticScroll inertia = listOf(100);
    flick(inertia, 100, 100);
    for (int i = 0; i < 3; ++i)
        inertia.inertiaTick();
    int reached = inertia.position();
    unsigned effects = inertia.press(10, 10, 5000);
    EXPECT_TRUE(effects & KineticScroll::kStopInertiaTimer);
    EXPECT_TRUE(effects & KineticScroll::kSnapped);
    EXPECT_TRUE(effects & KineticScroll::kStartHoldTimer);
    EXPECT_EQ(inertia.state(), State::Pressed);
    EXPECT_EQ(inertia.top(), (reached + kRow / 2) / kRow);

    KineticScroll settling = listOf(20, 2);
    settling.press(0, 200, 0);
    settling.move(170);
    settling.release(0, 170, 3000);
    settling.settleTick();
    effects = settling.press(10, 10, 4000);
    EXPECT_TRUE(effects & KineticScroll::kStopSettleTimer);
    EXPECT_EQ(settling.top(), 3) << "the settle's target";
    EXPECT_EQ(settling.offset(), 0);
}

TEST(KineticScrollTest, TheTopRowStaysWithinTheRows) {
    KineticScroll scroll = listOf(3);
    scroll.setTop(2);
    EXPECT_EQ(scroll.top(), 0) << "a short list never scrolls";
    scroll = listOf(20);
    scroll.setTop(40);
    EXPECT_EQ(scroll.top(), 15);
    scroll.setCount(8);
    EXPECT_EQ(scroll.top(), 3);
    EXPECT_EQ(scroll.snapTo(-10 * kRow), KineticScroll::kSnapped);
    EXPECT_EQ(scroll.top(), 0);
    EXPECT_EQ(scroll.snapTo(kRow + kRow / 2), KineticScroll::kSnapped);
    EXPECT_EQ(scroll.top(), 2) << "half a row rounds to the next row";
}

TEST(KineticScrollTest, LosingTheStylusEndsAPressAndSettlesADrag) {
    KineticScroll scroll = listOf(20);
    scroll.press(0, 100, 0);
    EXPECT_EQ(scroll.cancel(), KineticScroll::kStopHoldTimer);
    EXPECT_EQ(scroll.state(), State::Idle);
    scroll.press(0, 100, 0);
    scroll.move(60);
    EXPECT_TRUE(scroll.cancel() & KineticScroll::kStartSettleTimer);
    runToRest(scroll);
    EXPECT_EQ(scroll.top(), 1);
}

}  // namespace

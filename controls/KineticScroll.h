// KineticScroll: the touch behaviour of a finger list as a state machine of plain integers: press,
// drag at half the finger's distance, release into inertia or settling, ticks that slow the rows
// down and bring them to rest on a whole row. It knows no windows; the list view feeds it stylus
// positions, times and timer ticks, and carries out the effects each call returns.
#pragma once

#include <cstdint>

class KineticScroll {
  public:
    enum class State { Idle, Pressed, Dragging, Inertia, Settling };

    // The tuning of the motion; distances are device pixels unless a 96-dpi unit is named.
    static constexpr int kVisibleRows = 5;
    static constexpr uint32_t kHoldMs = 500;         // a press held this long without dragging confirms
    static constexpr uint32_t kTickMs = 50;          // the inertia and settling ticks
    static constexpr int kFriction = 20;             // speed lost per tick over the rows
    static constexpr int kEdgeFriction = 300;        // speed lost per tick beyond either end
    static constexpr int kMinFlickSpeed = 10;        // slower releases settle at once
    static constexpr int kSettleGain = 20;           // a settle moves t * t * kSettleGain / 10 after t ticks
    static constexpr int kOutsideSettleFactor = 10;  // settling back from beyond an end goes faster

    // Pixel distances of the screen: how far the finger moves before a drag starts, how far a tap
    // may move, and the smallest drag offset that is drawn.
    struct Distances {
        int dragThreshold = 10;
        int tapSlop = 2;
        int drawSlop = 1;
    };

    // What the owner does after a call, as flags; several may be set.
    enum Effect : unsigned {
        kNoEffect = 0,
        kStartHoldTimer = 1u << 0,
        kStopHoldTimer = 1u << 1,
        kStartInertiaTimer = 1u << 2,
        kStopInertiaTimer = 1u << 3,
        kStartSettleTimer = 1u << 4,
        kStopSettleTimer = 1u << 5,
        kDrawAtOffset = 1u << 6,  // draw the rows at scrollPosition() + offset()
        kSnapped = 1u << 7,       // the top row changed or the offset ended: redraw from the top row
        kNotifyOffset = 1u << 8,  // tell the parent notifiedOffset()
        kTap = 1u << 9,           // a tap or hold at tapY(): select and confirm the row there
        kReleaseCapture = 1u << 10,
    };

    KineticScroll(int rowHeight, Distances distances);

    // The list's rows. Setting the count keeps the top row within 0..maxTop().
    void setCount(int count);
    int count() const { return m_count; }
    int rowHeight() const { return m_rowHeight; }
    // The first visible row; the rows start scrollPosition() = top * rowHeight pixels above the list.
    int top() const { return m_top; }
    int scrollPosition() const { return m_top * m_rowHeight; }
    // The largest top row that leaves no empty row at the bottom (0 for a short list).
    int maxTop() const;
    // Moves the top row (clamped to 0..maxTop()) while idle; ignored in any other state.
    void setTop(int top);

    State state() const { return m_state; }
    // The rows' current offset from scrollPosition() in pixels (positive: moved up, showing later
    // rows); 0 while idle.
    int offset() const;
    // The offset the last kNotifyOffset effect reports.
    int notifiedOffset() const { return m_notified; }
    // Where the last kTap happened, in the list's pixels: the release point of a tap, the press
    // point of a hold.
    int tapX() const { return m_tapX; }
    int tapY() const { return m_tapY; }
    // The speed of the last release or inertia tick, in pixels per second (positive: moving up).
    int speed() const { return m_speed; }
    // The pixel position of the top of the list's first shown pixel row (scrollPosition() + offset()).
    int position() const { return scrollPosition() + offset(); }

    // The stylus went down at (x, y) (inside the list) at time ms. A running inertia stops and the
    // rows snap to the nearest whole row; a running settle stops and the rows snap to its target.
    // Afterwards the state is Pressed.
    unsigned press(int x, int y, uint32_t ms);
    // The stylus moved to y. Only in Pressed and Dragging: a drag starts once the finger has moved
    // dragThreshold from the press point; the offset is half the finger's distance.
    unsigned move(int y);
    // The stylus went up at (x, y) at time ms. Only in Pressed and Dragging: a short still press is
    // a tap there; otherwise a fast release starts inertia and a slow one settles.
    unsigned release(int x, int y, uint32_t ms);
    // The hold timer fired: in Pressed, the press becomes a tap at the press point.
    unsigned holdElapsed();
    // One inertia tick: the speed drops by the friction (more beyond the ends); at zero the rows
    // start settling.
    unsigned inertiaTick();
    // One settling tick: the rows move toward the target row, faster each tick, and snap there.
    unsigned settleTick();
    // Ends whatever runs and snaps to the row nearest scrollPosition() + extra (the scroll bar's
    // release). Afterwards the state is Idle.
    unsigned snapTo(int extra);
    // The press lost its capture without a release: a drag settles, a press just ends.
    unsigned cancel();

  private:
    unsigned startSettle(int from);
    // Ends the motion: the top row becomes the one nearest scrollPosition() + from, offsets clear.
    unsigned finishSnap(int from);
    // The top row nearest to scrollPosition() + from, clamped to 0..maxTop().
    int nearestTop(int from) const;
    // Above the first row, or so far down that the last row has left the bottom.
    bool outsideRows(int pos) const;
    // The timers of the current state, stopped.
    unsigned stopTimers() const;

    int m_rowHeight;
    Distances m_distances;
    int m_count = 0;
    int m_top = 0;
    State m_state = State::Idle;
    int m_pressX = 0;
    int m_pressY = 0;
    uint32_t m_pressMs = 0;
    int m_dragOffset = 0;
    int m_inertiaOffset = 0;
    int m_speed = 0;
    int m_settleStart = 0;
    int m_settleDistance = 0;
    int m_settleStep = 0;
    int m_ticks = 0;
    int m_notified = 0;
    int m_tapX = 0;
    int m_tapY = 0;
};

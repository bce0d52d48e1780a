// KineticScroll: press, drag, release, inertia and settling as integer arithmetic on pixels,
// milliseconds and ticks.

#include "KineticScroll.h"

#include <algorithm>
#include <cstdlib>

namespace {

// The speed after one tick of friction: toward zero, never past it.
int slowed(int speed, int friction) {
    if (speed > 0) return std::max(0, speed - friction);
    return std::min(0, speed + friction);
}

}  // namespace

KineticScroll::KineticScroll(int rowHeight, Distances distances)
    : m_rowHeight(std::max(1, rowHeight)), m_distances(distances) {}

void KineticScroll::setCount(int count) {
    m_count = std::max(0, count);
    m_top = std::clamp(m_top, 0, maxTop());
}

int KineticScroll::maxTop() const {
    return std::max(0, m_count - kVisibleRows);
}

void KineticScroll::setTop(int top) {
    if (m_state != State::Idle) return;
    m_top = std::clamp(top, 0, maxTop());
}

int KineticScroll::offset() const {
    switch (m_state) {
        case State::Dragging:
            return m_dragOffset;
        case State::Inertia:
            return m_dragOffset + m_inertiaOffset;
        case State::Settling:
            return m_settleStart + m_settleStep;
        default:
            return 0;
    }
}

unsigned KineticScroll::press(int x, int y, uint32_t ms) {
    unsigned effects = kNoEffect;
    if (m_state == State::Inertia) effects = stopTimers() | finishSnap(offset());
    if (m_state == State::Settling) effects = stopTimers() | finishSnap(m_settleStart + m_settleDistance);
    if (m_state == State::Pressed) effects |= kStopHoldTimer;
    m_state = State::Pressed;
    m_pressX = x;
    m_pressY = y;
    m_pressMs = ms;
    m_dragOffset = 0;
    return effects | kStartHoldTimer;
}

unsigned KineticScroll::move(int y) {
    if (m_state != State::Pressed && m_state != State::Dragging) return kNoEffect;
    int distance = m_pressY - y;
    if (m_state == State::Pressed && std::abs(distance) < m_distances.dragThreshold) return kNoEffect;
    unsigned effects = m_state == State::Pressed ? kStopHoldTimer : kNoEffect;
    m_state = State::Dragging;
    // The rows follow at half the finger's distance (integer division toward zero).
    m_dragOffset = distance / 2;
    if (std::abs(m_dragOffset) <= m_distances.drawSlop) return effects;
    m_notified = m_dragOffset;
    return effects | kDrawAtOffset | kNotifyOffset;
}

unsigned KineticScroll::release(int x, int y, uint32_t ms) {
    if (m_state != State::Pressed && m_state != State::Dragging) return kNoEffect;
    unsigned effects = kReleaseCapture | (m_state == State::Pressed ? kStopHoldTimer : kNoEffect);
    int travelled = (m_pressY - y) / 2;
    if (m_state == State::Pressed && std::abs(travelled) <= m_distances.tapSlop) {
        m_state = State::Idle;
        m_tapX = x;
        m_tapY = y;
        return effects | kTap;
    }
    uint32_t elapsed = std::max<uint32_t>(1, ms - m_pressMs);
    m_speed = static_cast<int>(static_cast<long long>(travelled) * 1000 / elapsed);
    if (std::abs(m_speed) >= kMinFlickSpeed) {
        m_state = State::Inertia;
        m_dragOffset = travelled;
        m_inertiaOffset = 0;
        m_ticks = 0;
        return effects | kStartInertiaTimer;
    }
    effects |= startSettle(travelled);
    m_notified = 0;
    return effects | kNotifyOffset;
}

unsigned KineticScroll::holdElapsed() {
    if (m_state != State::Pressed) return kStopHoldTimer;
    m_state = State::Idle;
    m_tapX = m_pressX;
    m_tapY = m_pressY;
    return kStopHoldTimer | kReleaseCapture | kTap;
}

unsigned KineticScroll::inertiaTick() {
    if (m_state != State::Inertia) return kStopInertiaTimer;
    int friction = outsideRows(position()) ? kEdgeFriction : kFriction;
    ++m_ticks;
    int slower = slowed(m_speed, friction);
    // The distance of one tick: the mean of the two speeds over the tick.
    m_inertiaOffset += (m_speed + slower) / 10;
    m_speed = slower;
    int reached = offset();
    m_notified = reached;
    if (slower != 0) return kDrawAtOffset | kNotifyOffset;
    return kStopInertiaTimer | startSettle(reached) | kNotifyOffset;
}

unsigned KineticScroll::settleTick() {
    if (m_state != State::Settling) return kStopSettleTimer;
    ++m_ticks;
    int step = m_ticks * m_ticks * kSettleGain / 10;
    if (outsideRows(position())) step *= kOutsideSettleFactor;
    if (m_settleDistance < 0) step = -step;
    if (std::abs(step) >= std::abs(m_settleDistance))
        return kStopSettleTimer | finishSnap(m_settleStart + m_settleDistance);
    m_settleStep = step;
    m_notified = m_settleStart + step;
    return kDrawAtOffset | kNotifyOffset;
}

unsigned KineticScroll::snapTo(int extra) {
    unsigned effects = stopTimers();
    return effects | finishSnap(offset() + extra);
}

unsigned KineticScroll::cancel() {
    if (m_state == State::Pressed) {
        m_state = State::Idle;
        return kStopHoldTimer;
    }
    if (m_state == State::Dragging) return startSettle(m_dragOffset);
    return kNoEffect;
}

unsigned KineticScroll::startSettle(int from) {
    int target = nearestTop(from);
    m_settleStart = from;
    m_settleDistance = target * m_rowHeight - scrollPosition() - from;
    m_settleStep = 0;
    m_ticks = 0;
    bool running = m_state == State::Settling;
    m_state = State::Settling;
    return running ? kNoEffect : kStartSettleTimer;
}

unsigned KineticScroll::finishSnap(int from) {
    m_top = nearestTop(from);
    m_state = State::Idle;
    m_dragOffset = 0;
    m_inertiaOffset = 0;
    m_settleStart = 0;
    m_settleDistance = 0;
    m_settleStep = 0;
    m_speed = 0;
    return kSnapped;
}

int KineticScroll::nearestTop(int from) const {
    int pos = scrollPosition() + from;
    if (pos < 0) return 0;
    return std::clamp((pos + m_rowHeight / 2) / m_rowHeight, 0, maxTop());
}

bool KineticScroll::outsideRows(int pos) const {
    return pos < 0 || pos + kVisibleRows * m_rowHeight > m_count * m_rowHeight;
}

unsigned KineticScroll::stopTimers() const {
    switch (m_state) {
        case State::Pressed:
            return kStopHoldTimer;
        case State::Inertia:
            return kStopInertiaTimer;
        case State::Settling:
            return kStopSettleTimer;
        default:
            return kNoEffect;
    }
}

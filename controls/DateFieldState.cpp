// DateFieldState: the typing rules, limits and steps of one date field.

#include "DateFieldState.h"

#include <algorithm>

DateFieldState::DateFieldState(int minimum, int maximum, int digitWidth, int value)
    : m_value(value), m_minimum(minimum), m_maximum(maximum), m_digitWidth(digitWidth) {}

int DateFieldState::clampedValue() const {
    return std::clamp(m_value, m_minimum, std::max(m_minimum, m_maximum));
}

void DateFieldState::setValue(int value) {
    m_value = value;
    m_replaceNext = true;
}

bool DateFieldState::setMaximum(int maximum) {
    m_maximum = maximum;
    if (m_value <= maximum) return false;
    setValue(maximum);
    return true;
}

bool DateFieldState::setMinimum(int minimum) {
    m_minimum = minimum;
    if (m_value >= minimum) return false;
    setValue(minimum);
    return true;
}

bool DateFieldState::clamp() {
    int clamped = clampedValue();
    if (clamped == m_value) return false;
    setValue(clamped);
    return true;
}

void DateFieldState::increment() {
    setValue(m_value + 1 > m_maximum ? m_minimum : m_value + 1);
}

void DateFieldState::decrement() {
    setValue(m_value - 1 < m_minimum ? m_maximum : m_value - 1);
}

bool DateFieldState::typeDigit(int d) {
    int candidate = (m_replaceNext ? 0 : m_value) * 10 + d;
    if (!m_replaceNext && candidate == 0 && m_typedCount == m_digitWidth - 1) return false;
    if (candidate > m_maximum) {
        m_value = m_maximum;
        m_replaceNext = true;
    } else {
        m_value = candidate;
        if (m_replaceNext) {
            m_replaceNext = false;
            m_typedCount = 0;
        }
        // No further digit fits: the next one starts anew. A value still below the minimum keeps
        // taking digits instead, and a digit past the maximum then caps it (3, 0, 0, 0 in a year
        // field ends at its maximum rather than starting over at 0).
        if (candidate * 10 > m_maximum && candidate >= m_minimum) m_replaceNext = true;
    }
    ++m_typedCount;
    if (m_typedCount >= m_digitWidth) {
        m_replaceNext = true;
        m_value = std::max(m_value, m_minimum);
    }
    return true;
}

bool DateFieldState::backspace() {
    if (m_value == 0) return false;
    m_replaceNext = false;
    m_typedCount = std::max(m_typedCount - 1, 0);
    m_value /= 10;
    return true;
}

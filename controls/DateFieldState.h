// DateFieldState: the value of one date field (day, month or year) and its rules, without a window:
// limits, typing digit by digit, backspace, stepping with wrap-around, and the clamp into the limits.
// Every operation says whether the value changed, so the field knows when to tell its picker.
#pragma once

class DateFieldState {
  public:
    // A field of digitWidth digits (2 or 4) holding value within minimum..maximum.
    DateFieldState(int minimum, int maximum, int digitWidth, int value);

    int value() const { return m_value; }
    int minimum() const { return m_minimum; }
    int maximum() const { return m_maximum; }
    int digitWidth() const { return m_digitWidth; }
    int typedCount() const { return m_typedCount; }
    bool replaceNext() const { return m_replaceNext; }
    // The value brought into minimum..maximum (the value itself is left).
    int clampedValue() const;

    // Sets the value as it is (a value outside the limits is kept until clamped); the next digit
    // starts a new value.
    void setValue(int value);
    // A new maximum below the value moves the value to it, a new minimum above the value moves the
    // value to that; the next digit then starts a new value. True when the value moved.
    bool setMaximum(int maximum);
    bool setMinimum(int minimum);
    // Stores the clamped value. When that moves the value, the next digit starts a new value and the
    // result is true; a value within the limits is left alone (a digit being typed stays so).
    bool clamp();
    // Starts a fresh entry: the next digit starts a new value.
    void startEntry() { m_replaceNext = true; }

    // One step up or down; past the maximum it wraps to the minimum and below the minimum to the
    // maximum. The next digit starts a new value.
    void increment();
    void decrement();

    // Types digit d (0..9). A digit that would complete the field with zeros only is ignored (false).
    // A value past the maximum becomes the maximum. When no further digit could fit, or the field's
    // digits are complete, the next digit starts a new value; a completed value below the minimum is
    // raised to the minimum. While typing the value may lie below the minimum (a year of 20 on the way
    // to 2010). True when the digit was taken.
    bool typeDigit(int d);
    // Drops the last digit of a non-zero value (false, and nothing happens, for zero); the next digit
    // extends the value again.
    bool backspace();

  private:
    int m_value;
    int m_minimum;
    int m_maximum;
    int m_digitWidth;
    int m_typedCount = 0;
    bool m_replaceNext = true;
};

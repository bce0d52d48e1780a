// CalculatorEngine: the calculator's state and rules without any window: the display text built by
// typing, chained operators, "=" repeating the last operation, percent, change sign, backspace and
// clear, on exact CalcDecimal arithmetic, and the display's amount in hundredths.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "CalcDecimal.h"

class CalculatorEngine {
  public:
    // No operation pending.
    static constexpr char16_t kNoOp = u' ';
    // At most this many digits can be typed into the display.
    static constexpr size_t kMaxTypedDigits = 19;
    // The display buffer's size, terminator included.
    static constexpr size_t kDisplaySize = 256;

    // In the new-calculation state (see reset()).
    CalculatorEngine();

    // The new-calculation state: display "0", a result counts as shown, no pending or last
    // operation, the next operator starts a new calculation; accumulator and operand become zero
    // (their sign flags are left as they are).
    void reset();
    // One typed character: "0".."9", "." or "," (the decimal point, stored as "."), "+", "-", "*",
    // "/", "=", "%" or backspace (8). Any other character is ignored. Returns false for an ignored
    // character, true otherwise (the display may still be unchanged).
    bool key(char16_t c);
    // Puts a "-" in front of the display or takes it away; while a result is shown the
    // accumulator's sign follows, so that the value shown and the accumulator agree. Nothing happens
    // while the display shows "Error".
    void changeSign();

    // Resets, then shows amount (hundredths) as text: "-" for a negative amount, the integer part
    // without leading zeros ("0" below one unit), "." and two decimals; zero shows "0".
    void setAmount(int64_t amount);
    // The display's amount in hundredths; a pending operation is not applied (see amountOfText).
    int64_t amount() const { return amountOfText(m_display); }

    // The amount of a display text: 0 unless it begins with a digit, "." or "-"; digits after the
    // first "." beyond the second are ignored (no rounding); 0 when the magnitude passes the signed
    // 64-bit range.
    static int64_t amountOfText(std::u16string_view text);
    // The text setAmount() shows for amount.
    static std::u16string textOfAmount(int64_t amount);

    const std::u16string& display() const { return m_display; }
    bool resultShown() const { return m_resultShown; }
    char16_t pendingOp() const { return m_pendingOp; }
    char16_t lastOp() const { return m_lastOp; }
    bool startNew() const { return m_startNew; }
    const CalcDecimal& accumulator() const { return m_accumulator; }
    const CalcDecimal& operand() const { return m_operand; }

  private:
    void typeDigit(char16_t digit);
    void typePoint();
    void applyOperator(char16_t op);
    void equals();
    void percent();
    void backspace();
    // Before a digit or point: a shown result or a lone "0" gives way to the typed number.
    void prepareForTyping();
    // Appends c while fewer than 19 digits are in the display.
    void append(char16_t c);
    // Applies the pending operation to accumulator and operand and shows the result; nothing at all
    // happens without a pending arithmetic operation.
    void compute();
    // value = the display read as a number (unchanged when the display is not a number).
    void readDisplay(CalcDecimal& value) const { value.setText(m_display); }
    bool displayShowsError() const;

    std::u16string m_display;
    bool m_resultShown = true;
    char16_t m_pendingOp = kNoOp;
    char16_t m_lastOp = kNoOp;
    bool m_startNew = true;
    CalcDecimal m_accumulator;
    CalcDecimal m_operand;
};

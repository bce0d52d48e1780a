// CalculatorEngine: the typing rules, the operator, equals and percent steps, and the display's amount.

#include "CalculatorEngine.h"

#include <algorithm>
#include <limits>

// Amounts are computed and converted exactly: no binary floating point in this file.
#pragma GCC poison float double

namespace {

constexpr char16_t kBackspace = 8;
constexpr char16_t kPoint = u'.';
constexpr char16_t kMinus = u'-';
constexpr char16_t kEquals = u'=';
constexpr std::u16string_view kZero = u"0";
constexpr std::u16string_view kErrorText = u"Error";
constexpr std::u16string_view kHundred = u"100";
constexpr int kDisplayDecimals = 2;
constexpr int kAmountDecimals = 2;

bool isDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

bool isArithmetic(char16_t op) {
    return op == u'+' || op == u'-' || op == u'*' || op == u'/';
}

}  // namespace

CalculatorEngine::CalculatorEngine() {
    reset();
}

void CalculatorEngine::reset() {
    m_display = kZero;
    m_resultShown = true;
    m_pendingOp = kNoOp;
    m_lastOp = kNoOp;
    m_startNew = true;
    m_accumulator.setZero();
    m_operand.setZero();
}

bool CalculatorEngine::key(char16_t c) {
    if (isDigit(c)) {
        typeDigit(c);
    } else if (c == kPoint || c == u',') {
        typePoint();
    } else if (isArithmetic(c)) {
        applyOperator(c);
    } else if (c == kEquals) {
        equals();
    } else if (c == u'%') {
        percent();
    } else if (c == kBackspace) {
        backspace();
    } else {
        return false;
    }
    return true;
}

void CalculatorEngine::typeDigit(char16_t digit) {
    prepareForTyping();
    append(digit);
}

void CalculatorEngine::typePoint() {
    prepareForTyping();
    if (m_display.empty()) m_display = kZero;
    if (m_display.find(kPoint) == std::u16string::npos) append(kPoint);
}

void CalculatorEngine::prepareForTyping() {
    if (m_resultShown && m_pendingOp == kEquals) m_startNew = true;
    if (m_resultShown || m_display == kZero) {
        m_display.clear();
        m_resultShown = false;
    }
}

void CalculatorEngine::append(char16_t c) {
    size_t limit = kMaxTypedDigits;
    if (m_display.find(kPoint) != std::u16string::npos) ++limit;
    if (!m_display.empty() && m_display.front() == kMinus) ++limit;
    if (m_display.size() < limit && m_display.size() + 1 < kDisplaySize) m_display += c;
}

void CalculatorEngine::applyOperator(char16_t op) {
    if (m_pendingOp == kEquals && m_resultShown) m_operand = m_accumulator;
    m_lastOp = op;
    if (m_startNew) {
        readDisplay(m_accumulator);
        m_operand = m_accumulator;
        m_startNew = false;
    } else if (!m_resultShown) {
        readDisplay(m_operand);
        compute();
    }
    m_pendingOp = op;
    m_resultShown = true;
}

void CalculatorEngine::equals() {
    if (m_resultShown)
        m_pendingOp = m_lastOp;
    else
        readDisplay(m_operand);
    compute();
    m_lastOp = m_pendingOp;
    m_pendingOp = kEquals;
    m_resultShown = true;
}

void CalculatorEngine::percent() {
    if (m_startNew) {
        readDisplay(m_accumulator);
        m_operand.setText(kHundred);
        m_pendingOp = u'/';
    } else if (m_resultShown) {
        m_operand.setText(kHundred);
        m_pendingOp = u'/';
    } else {
        CalcDecimal hundred;
        hundred.setText(kHundred);
        readDisplay(m_operand);
        m_operand.divide(hundred);
        if (m_pendingOp == u'+' || m_pendingOp == u'-') m_operand.multiply(m_accumulator);
    }
    compute();
    m_lastOp = m_pendingOp;
    m_pendingOp = kEquals;
    m_resultShown = true;
}

void CalculatorEngine::backspace() {
    bool lastDigit = m_display.size() == 1 || (m_display.size() == 2 && m_display.front() == kMinus);
    if (lastDigit || displayShowsError()) {
        m_display = kZero;
        m_resultShown = false;
    } else if (!m_display.empty()) {
        m_display.pop_back();
    }
    if (m_resultShown && m_pendingOp == kEquals) {
        m_resultShown = false;
        m_startNew = true;
    }
}

bool CalculatorEngine::displayShowsError() const {
    // Only the shown "Error" is wiped whole; digits typed after an error are edited as usual even
    // though the accumulator keeps its error until the next calculation starts.
    return m_display == kErrorText;
}

void CalculatorEngine::changeSign() {
    // "Error" is no number: a sign in front of it would only make "-Error".
    if (displayShowsError()) return;
    if (!m_display.empty() && m_display.front() == kMinus)
        m_display.erase(0, 1);
    else
        m_display.insert(m_display.begin(), kMinus);
    if (m_resultShown) m_accumulator.invertSign();
}

void CalculatorEngine::compute() {
    switch (m_pendingOp) {
        case u'+':
            m_accumulator.add(m_operand);
            break;
        case u'-':
            m_accumulator.subtract(m_operand);
            break;
        case u'*':
            m_accumulator.multiply(m_operand);
            break;
        case u'/':
            m_accumulator.divide(m_operand);
            break;
        default:
            return;
    }
    m_display = m_accumulator.text(kDisplayDecimals);
    if (m_accumulator.isError()) {
        m_display = kErrorText;
        m_startNew = true;
        m_pendingOp = kNoOp;
    }
    m_resultShown = true;
}

void CalculatorEngine::setAmount(int64_t amount) {
    reset();
    m_display = textOfAmount(amount);
}

std::u16string CalculatorEngine::textOfAmount(int64_t amount) {
    if (amount == 0) return std::u16string(kZero);
    // The magnitude in unsigned arithmetic, so that the most negative amount has one too.
    uint64_t magnitude = amount < 0 ? 0 - static_cast<uint64_t>(amount) : static_cast<uint64_t>(amount);
    std::u16string digits;
    for (uint64_t rest = magnitude; rest != 0; rest /= 10)
        digits.insert(digits.begin(), static_cast<char16_t>(u'0' + rest % 10));
    if (digits.size() <= kAmountDecimals) digits.insert(0, kAmountDecimals + 1 - digits.size(), u'0');
    digits.insert(digits.end() - kAmountDecimals, kPoint);
    if (amount < 0) digits.insert(digits.begin(), kMinus);
    return digits;
}

int64_t CalculatorEngine::amountOfText(std::u16string_view text) {
    if (text.empty() || !(isDigit(text.front()) || text.front() == kPoint || text.front() == kMinus))
        return 0;
    bool negative = text.front() == kMinus;
    if (negative) text.remove_prefix(1);
    // The range of the signed 64-bit amount: one more on the negative side.
    constexpr uint64_t kLargest = static_cast<uint64_t>(std::numeric_limits<int64_t>::max());
    const uint64_t limit = negative ? kLargest + 1 : kLargest;
    uint64_t magnitude = 0;
    int decimals = -1;  // digits taken after the point; -1 before it
    for (char16_t c : text) {
        if (c == kPoint && decimals < 0) {
            decimals = 0;
            continue;
        }
        if (!isDigit(c) || decimals == kAmountDecimals) break;
        uint64_t digit = static_cast<uint64_t>(c - u'0');
        if (magnitude > (limit - digit) / 10) return 0;
        magnitude = magnitude * 10 + digit;
        if (decimals >= 0) ++decimals;
    }
    for (int missing = kAmountDecimals - std::max(decimals, 0); missing > 0; --missing) {
        if (magnitude > limit / 10) return 0;
        magnitude *= 10;
    }
    // Two's complement wrap-around gives the negative value, the most negative one included.
    return static_cast<int64_t>(negative ? 0 - magnitude : magnitude);
}

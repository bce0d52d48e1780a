// CalcDecimal: reading and writing decimal text, and the four operations on sign and magnitude.

#include "CalcDecimal.h"

#include <algorithm>

// The calculator's arithmetic is exact decimal: no binary floating point in this file.
#pragma GCC poison float double

namespace {

constexpr std::u16string_view kErrorText = u"Error";
constexpr char16_t kPoint = u'.';
constexpr char16_t kMinus = u'-';

// A working value with room for a magnitude and a full scale of extra digits.
DigitString wideCopy(const DigitString& magnitude) {
    DigitString wide(CalcDecimal::kDigitLimit + CalcDecimal::kScale);
    wide = magnitude;
    return wide;
}

}  // namespace

CalcDecimal::CalcDecimal() : m_magnitude(kDigitLimit) {}

void CalcDecimal::setZero() {
    m_magnitude.clear();
    changed();
}

void CalcDecimal::setNegative(bool negative) {
    if (negative == m_negative) return;
    m_negative = negative;
    changed();
}

bool CalcDecimal::setText(std::u16string_view text) {
    bool negative = !text.empty() && text.front() == kMinus;
    if (negative) text.remove_prefix(1);
    size_t point = text.find(kPoint);
    std::u16string_view integerPart = text.substr(0, point);
    std::u16string fraction(point == std::u16string_view::npos ? std::u16string_view{}
                                                               : text.substr(point + 1));
    fraction = fraction.substr(0, kScale);
    fraction.resize(kScale, u'0');

    DigitString magnitude(kDigitLimit);
    DigitString fractionDigits(kDigitLimit);
    if (!magnitude.assign(integerPart) || !fractionDigits.assign(fraction)) return false;
    magnitude.shiftLeft(kScale);
    magnitude.add(fractionDigits);
    m_magnitude = magnitude;
    m_negative = negative;
    changed();
    return true;
}

const std::u16string& CalcDecimal::text(int decimals) const {
    decimals = std::clamp(decimals, 0, static_cast<int>(kScale));
    if (!m_text.empty() && m_textDecimals == decimals) return m_text;
    m_textDecimals = decimals;
    DigitString rounded = m_magnitude;
    uint32_t dropped = kScale - static_cast<uint32_t>(decimals);
    if (dropped > 0) {
        // Keep one digit beyond the last decimal, add 5 to it and drop it: half up on the magnitude,
        // which is half away from zero because the sign is held apart.
        DigitString five(1);
        five.assign(uint64_t{5});
        rounded.shiftRight(dropped - 1);
        rounded.add(five);
        rounded.shiftRight(1);
        rounded.shiftLeft(dropped);
    }
    if (rounded.isError()) {
        m_text = kErrorText;
        return m_text;
    }
    m_text.clear();
    if (m_negative) m_text += kMinus;
    std::u16string digits = rounded.text();
    if (digits.size() <= kScale)
        m_text += u'0';
    else
        m_text.append(digits, 0, digits.size() - kScale);
    if (decimals > 0) {
        m_text += kPoint;
        for (int i = 1; i <= decimals; ++i)
            m_text += static_cast<char16_t>(u'0' + rounded.digit(kScale - static_cast<uint32_t>(i)));
    }
    return m_text;
}

void CalcDecimal::add(const CalcDecimal& other) {
    combineMagnitudes(other.m_magnitude, other.m_negative == m_negative, m_negative);
}

void CalcDecimal::subtract(const CalcDecimal& other) {
    combineMagnitudes(other.m_magnitude, other.m_negative != m_negative, m_negative);
}

void CalcDecimal::combineMagnitudes(const DigitString& other, bool add, bool sign) {
    if (add) {
        m_magnitude.add(other);
    } else if (m_magnitude.compare(other) >= 0) {
        m_magnitude.subtract(other);
    } else {
        DigitString difference = other;
        difference.subtract(m_magnitude);
        m_magnitude = difference;
        sign = !sign;
    }
    m_negative = sign;
    finishArithmetic();
}

void CalcDecimal::multiply(const CalcDecimal& other) {
    DigitString product = wideCopy(m_magnitude);
    product.multiply(other.m_magnitude);
    product.shiftRight(kScale);
    takeResult(product);
    m_negative = m_negative != other.m_negative;
    finishArithmetic();
}

void CalcDecimal::divide(const CalcDecimal& divisor) {
    // Both values have the same scale, so widening the dividend by it leaves the quotient at that
    // scale.
    DigitString quotient = wideCopy(m_magnitude);
    quotient.shiftLeft(kScale);
    quotient.divideRounded(divisor.m_magnitude);
    takeResult(quotient);
    m_negative = m_negative != divisor.m_negative;
    finishArithmetic();
}

void CalcDecimal::takeResult(const DigitString& result) {
    if (result.isError() || result.size() > kDigitLimit)
        m_magnitude.setError();
    else
        m_magnitude = result;
}

void CalcDecimal::finishArithmetic() {
    if (m_magnitude.isZero() && !m_magnitude.isError()) m_negative = false;
    changed();
}

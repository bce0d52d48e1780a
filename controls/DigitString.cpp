// DigitString: digit-cell arithmetic (shifts, addition, subtraction, schoolbook multiplication and
// long division by repeated subtraction) with the sticky error flag.

#include "DigitString.h"

#include <algorithm>

// The calculator's arithmetic is exact decimal: no binary floating point in this file.
#pragma GCC poison float double

namespace {

constexpr uint16_t kBase = 10;

}  // namespace

DigitString::DigitString(uint32_t capacity) : m_digits(std::max<uint32_t>(capacity, 1), 0) {}

DigitString& DigitString::operator=(const DigitString& other) {
    if (this == &other) return *this;
    if (capacity() < other.m_count) m_digits.resize(other.m_count, 0);
    std::fill(m_digits.begin(), m_digits.end(), 0);
    std::copy(other.m_digits.begin(), other.m_digits.begin() + other.m_count, m_digits.begin());
    m_count = other.m_count;
    m_error = other.m_error;
    return *this;
}

void DigitString::clear() {
    std::fill(m_digits.begin(), m_digits.end(), 0);
    m_count = 0;
    m_error = false;
}

bool DigitString::assign(std::u16string_view text) {
    if (!std::all_of(text.begin(), text.end(), [](char16_t c) { return c >= u'0' && c <= u'9'; }))
        return false;
    size_t first = text.find_first_not_of(u'0');
    std::u16string_view significant =
        first == std::u16string_view::npos ? std::u16string_view{} : text.substr(first);
    clear();
    if (significant.size() > capacity()) {
        m_error = true;
        return true;
    }
    m_count = static_cast<uint32_t>(significant.size());
    for (uint32_t i = 0; i < m_count; ++i)
        m_digits[i] = static_cast<uint16_t>(significant[m_count - 1 - i] - u'0');
    return true;
}

void DigitString::assign(uint64_t n) {
    clear();
    for (; n != 0; n /= kBase) {
        if (m_count == capacity()) {
            m_error = true;
            return;
        }
        m_digits[m_count++] = static_cast<uint16_t>(n % kBase);
    }
}

void DigitString::shiftLeft(uint32_t k) {
    if (m_error || m_count == 0 || k == 0) return;
    if (static_cast<uint64_t>(m_count) + k > capacity()) {
        m_error = true;
        return;
    }
    std::copy_backward(m_digits.begin(), m_digits.begin() + m_count, m_digits.begin() + m_count + k);
    std::fill(m_digits.begin(), m_digits.begin() + k, 0);
    m_count += k;
}

void DigitString::shiftRight(uint32_t k) {
    if (m_error || k == 0) return;
    if (k >= m_count) {
        clear();
        return;
    }
    std::copy(m_digits.begin() + k, m_digits.begin() + m_count, m_digits.begin());
    std::fill(m_digits.begin() + (m_count - k), m_digits.begin() + m_count, 0);
    m_count -= k;
}

void DigitString::add(const DigitString& other) {
    if (errorFrom(other)) return;
    uint32_t length = std::max(m_count, other.m_count);
    uint16_t carry = 0;
    for (uint32_t i = 0; i < length || carry != 0; ++i) {
        if (i == capacity()) {
            m_error = true;
            return;
        }
        uint16_t sum = static_cast<uint16_t>(digit(i) + other.digit(i) + carry);
        m_digits[i] = sum % kBase;
        carry = sum / kBase;
        m_count = std::max(m_count, i + 1);
    }
    normalise();
}

void DigitString::subtract(const DigitString& other) {
    if (errorFrom(other)) return;
    if (compare(other) < 0) {
        m_error = true;
        return;
    }
    int borrow = 0;
    for (uint32_t i = 0; i < m_count; ++i) {
        int difference = static_cast<int>(m_digits[i]) - other.digit(i) - borrow;
        borrow = difference < 0 ? 1 : 0;
        m_digits[i] = static_cast<uint16_t>(difference + borrow * kBase);
    }
    normalise();
}

void DigitString::multiply(const DigitString& other) {
    if (errorFrom(other)) return;
    std::vector<uint32_t> product(static_cast<size_t>(m_count) + other.m_count, 0);
    for (uint32_t i = 0; i < m_count; ++i) {
        uint32_t carry = 0;
        for (uint32_t j = 0; j < other.m_count || carry != 0; ++j) {
            uint32_t cell = product[i + j] + static_cast<uint32_t>(m_digits[i]) * other.digit(j) + carry;
            product[i + j] = cell % kBase;
            carry = cell / kBase;
        }
    }
    size_t length = product.size();
    while (length > 0 && product[length - 1] == 0)
        --length;
    if (length > capacity()) {
        m_error = true;
        return;
    }
    clear();
    for (size_t i = 0; i < length; ++i)
        m_digits[i] = static_cast<uint16_t>(product[i]);
    m_count = static_cast<uint32_t>(length);
}

void DigitString::divideRounded(const DigitString& divisor) {
    if (&divisor == this) {
        const DigitString copy(divisor);
        divideRounded(copy);
        return;
    }
    if (errorFrom(divisor)) return;
    if (divisor.isZero()) {
        m_error = true;
        return;
    }
    // Each step brings the next dividend digit down beside the remainder and counts how often the
    // divisor goes into it; the quotient digit takes the dividend digit's cell.
    DigitString remainder(divisor.m_count + 1);
    for (uint32_t i = m_count; i-- > 0;) {
        remainder.appendLowDigit(m_digits[i]);
        m_digits[i] = remainder.subtractWhileNotBelow(divisor);
    }
    normalise();
    remainder.appendLowDigit(0);
    if (remainder.subtractWhileNotBelow(divisor) > 4) {
        DigitString one(1);
        one.assign(uint64_t{1});
        add(one);
    }
}

int DigitString::compare(const DigitString& other) const {
    if (m_count != other.m_count) return m_count < other.m_count ? -1 : 1;
    for (uint32_t i = m_count; i-- > 0;) {
        if (m_digits[i] != other.m_digits[i]) return m_digits[i] < other.m_digits[i] ? -1 : 1;
    }
    return 0;
}

std::u16string DigitString::text() const {
    if (m_count == 0) return u"0";
    std::u16string digits(m_count, u'0');
    for (uint32_t i = 0; i < m_count; ++i)
        digits[m_count - 1 - i] = static_cast<char16_t>(u'0' + m_digits[i]);
    return digits;
}

void DigitString::appendLowDigit(uint16_t d) {
    if (m_count == 0 && d == 0) return;
    std::copy_backward(m_digits.begin(), m_digits.begin() + m_count, m_digits.begin() + m_count + 1);
    m_digits[0] = d;
    ++m_count;
}

uint16_t DigitString::subtractWhileNotBelow(const DigitString& divisor) {
    uint16_t times = 0;
    while (compare(divisor) >= 0) {
        subtract(divisor);
        ++times;
    }
    return times;
}

void DigitString::normalise() {
    while (m_count > 0 && m_digits[m_count - 1] == 0)
        --m_count;
}

bool DigitString::errorFrom(const DigitString& operand) {
    if (operand.m_error) m_error = true;
    return m_error;
}

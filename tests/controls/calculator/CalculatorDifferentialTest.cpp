// The calculator against a reference built on GMP's exact rationals: random key sequences (digits,
// the decimal point, the nine keys, backspace, clear) run through both, and after every key the
// display texts and the amounts must agree. The reference states the calculator's rules directly
// on rational numbers: 30 significant digits of which 12 after the point, products truncated and
// quotients rounded half up at the 12th decimal, results shown rounded half up at the 2nd.

#include <gmpxx.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <random>
#include <sstream>
#include <string>

#include "CalculatorEngine.h"

namespace {

const mpz_class kUnit("1000000000000", 10);                     // 10^12: one unit in the last decimal
const mpz_class kLimit("1000000000000000000000000000000", 10);  // 10^30: thirty digits

// A value of the reference: exact, or in error.
struct Value {
    bool error = false;
    mpq_class number;
};

mpz_class floorOf(const mpq_class& q) {
    mpz_class result;
    mpz_fdiv_q(result.get_mpz_t(), q.get_num_mpz_t(), q.get_den_mpz_t());
    return result;
}

mpz_class truncated(const mpq_class& q) {
    mpz_class result;
    mpz_tdiv_q(result.get_mpz_t(), q.get_num_mpz_t(), q.get_den_mpz_t());
    return result;
}

// A result whose magnitude in twelfths of a decimal is scaled: an error from thirty digits on.
Value fromScaled(const mpz_class& scaled, bool negative, bool error) {
    Value v;
    v.error = error || scaled >= kLimit;
    v.number = mpq_class(negative ? mpz_class(-scaled) : scaled, kUnit);
    v.number.canonicalize();
    return v;
}

Value exact(const mpq_class& q, bool error) {
    mpq_class magnitude = abs(q) * kUnit;
    return fromScaled(truncated(magnitude), q < 0, error);
}

Value product(const Value& a, const Value& b) {
    mpq_class p = a.number * b.number;
    return fromScaled(truncated(abs(p) * kUnit), p < 0, a.error || b.error);
}

Value quotient(const Value& a, const Value& b) {
    if (a.error || b.error || b.number == 0) return Value{true, 0};
    mpq_class q = a.number / b.number;
    mpq_class half(1, 2);
    return fromScaled(floorOf(abs(q) * kUnit + half), q < 0, false);
}

// The display reading: "-"? digits ("." digits)?, the fraction cut after 12 digits; nothing for a
// text that is not a number.
std::optional<Value> parse(const std::string& text) {
    size_t at = 0;
    bool negative = !text.empty() && text[0] == '-';
    if (negative) at = 1;
    std::string integer, fraction;
    bool point = false;
    for (; at < text.size(); ++at) {
        char c = text[at];
        if (c == '.' && !point) {
            point = true;
        } else if (c >= '0' && c <= '9') {
            (point ? fraction : integer) += c;
        } else {
            return std::nullopt;
        }
    }
    fraction = fraction.substr(0, 12);
    fraction.resize(12, '0');
    mpz_class scaled = mpz_class(integer.empty() ? "0" : integer, 10) * kUnit + mpz_class(fraction, 10);
    return fromScaled(scaled, negative, false);
}

std::string shownText(const Value& v) {
    if (v.error) return "Error";
    mpz_class hundredths = floorOf(abs(v.number) * 100 + mpq_class(1, 2));
    if (hundredths * (kUnit / 100) >= kLimit) return "Error";
    mpz_class units = hundredths / 100, cents = hundredths % 100;
    std::string text = v.number < 0 ? "-" : "";
    text += units.get_str() + "." + (cents < 10 ? "0" : "") + cents.get_str();
    return text;
}

// The calculator's rules, stated on the reference values.
class Reference {
  public:
    Reference() { clear(); }

    void clear() {
        m_display = "0";
        m_resultShown = true;
        m_pending = m_last = ' ';
        m_startNew = true;
        m_accumulator = m_operand = Value{};
    }

    void key(char k) {
        if (k >= '0' && k <= '9') {
            prepare();
            append(k);
        } else if (k == '.' || k == ',') {
            prepare();
            if (m_display.empty()) m_display = "0";
            if (m_display.find('.') == std::string::npos) append('.');
        } else if (k == '+' || k == '-' || k == '*' || k == '/') {
            if (m_pending == '=' && m_resultShown) m_operand = m_accumulator;
            m_last = k;
            if (m_startNew) {
                read(m_accumulator);
                m_operand = m_accumulator;
                m_startNew = false;
            } else if (!m_resultShown) {
                read(m_operand);
                compute();
            }
            m_pending = k;
            m_resultShown = true;
        } else if (k == '=') {
            if (m_resultShown)
                m_pending = m_last;
            else
                read(m_operand);
            finish();
        } else if (k == '%') {
            percent();
        } else if (k == 'B') {
            backspace();
        } else if (k == 'S') {
            changeSign();
        } else if (k == 'C') {
            clear();
        }
    }

    const std::string& display() const { return m_display; }

    // The display's amount in hundredths, by its own rules: truncated after two decimals, 0 outside
    // the signed 64-bit range or for a text that is not a number.
    int64_t amount() const {
        if (m_display.empty() || !(isdigit(static_cast<unsigned char>(m_display[0])) || m_display[0] == '.' ||
                                   m_display[0] == '-'))
            return 0;
        std::optional<Value> v = parse(m_display);
        if (!v) return 0;
        mpz_class hundredths = truncated(v->number * 100);
        if (hundredths > mpz_class(std::to_string(std::numeric_limits<int64_t>::max()), 10) ||
            hundredths < mpz_class(std::to_string(std::numeric_limits<int64_t>::min()), 10))
            return 0;
        return std::stoll(hundredths.get_str());
    }

  private:
    void prepare() {
        if (m_resultShown && m_pending == '=') m_startNew = true;
        if (m_resultShown || m_display == "0") {
            m_display.clear();
            m_resultShown = false;
        }
    }

    void append(char c) {
        size_t digits =
            19 + (m_display.find('.') != std::string::npos) + (!m_display.empty() && m_display[0] == '-');
        if (m_display.size() < digits) m_display += c;
    }

    void read(Value& v) const {
        if (std::optional<Value> parsed = parse(m_display)) v = *parsed;
    }

    void compute() {
        const Value& a = m_accumulator;
        const Value& b = m_operand;
        switch (m_pending) {
            case '+':
                m_accumulator = exact(a.number + b.number, a.error || b.error);
                break;
            case '-':
                m_accumulator = exact(a.number - b.number, a.error || b.error);
                break;
            case '*':
                m_accumulator = product(a, b);
                break;
            case '/':
                m_accumulator = quotient(a, b);
                break;
            default:
                return;
        }
        m_display = shownText(m_accumulator);
        if (m_accumulator.error) {
            m_display = "Error";
            m_startNew = true;
            m_pending = ' ';
        }
        m_resultShown = true;
    }

    void finish() {
        compute();
        m_last = m_pending;
        m_pending = '=';
        m_resultShown = true;
    }

    void percent() {
        Value hundred{false, 100};
        if (m_startNew) {
            read(m_accumulator);
            m_operand = hundred;
            m_pending = '/';
        } else if (m_resultShown) {
            m_operand = hundred;
            m_pending = '/';
        } else {
            read(m_operand);
            m_operand = quotient(m_operand, hundred);
            if (m_pending == '+' || m_pending == '-') m_operand = product(m_operand, m_accumulator);
        }
        finish();
    }

    void backspace() {
        bool last = m_display.size() == 1 || (m_display.size() == 2 && m_display[0] == '-');
        if (last || m_display == "Error") {
            m_display = "0";
            m_resultShown = false;
        } else {
            m_display.pop_back();
        }
        if (m_resultShown && m_pending == '=') {
            m_resultShown = false;
            m_startNew = true;
        }
    }

    void changeSign() {
        if (m_display == "Error") return;
        if (!m_display.empty() && m_display[0] == '-')
            m_display.erase(0, 1);
        else
            m_display.insert(0, "-");
        if (m_resultShown) m_accumulator.number = -m_accumulator.number;
    }

    std::string m_display;
    bool m_resultShown = true;
    char m_pending = ' ';
    char m_last = ' ';
    bool m_startNew = true;
    Value m_accumulator;
    Value m_operand;
};

void press(CalculatorEngine& engine, char k) {
    if (k == 'B')
        engine.key(8);
    else if (k == 'S')
        engine.changeSign();
    else if (k == 'C')
        engine.reset();
    else
        engine.key(static_cast<char16_t>(k));
}

// A random key: mostly digits (runs of them now and then, to reach the limits), the operators,
// "=", "%", the point, change sign, backspace and now and then clear.
std::string randomKeys(std::mt19937_64& random) {
    static const std::string kOthers = "+-*/+-*/==%%..,SSBBBC";
    std::uniform_int_distribution<int> length(1, 40), choice(0, 99), digit(0, 9), run(6, 20);
    std::string keys;
    for (int n = length(random); n > 0; --n) {
        int c = choice(random);
        if (c < 50) {
            keys += static_cast<char>('0' + digit(random));
        } else if (c < 54) {
            for (int r = run(random); r > 0; --r)
                keys += static_cast<char>('0' + digit(random));
        } else if (c < 58) {
            keys += '0';
        } else {
            keys += kOthers[static_cast<size_t>(c - 58) % kOthers.size()];
        }
    }
    return keys;
}

TEST(CalculatorDifferential, RandomKeySequencesMatchTheRationalReference) {
    constexpr uint64_t kBaseSeed = 20260101;
    constexpr int kSequences = 20000;
    int failures = 0;
    for (int i = 0; i < kSequences && failures < 5; ++i) {
        uint64_t seed = kBaseSeed + static_cast<uint64_t>(i);
        std::mt19937_64 random(seed);
        std::string keys = randomKeys(random);
        CalculatorEngine engine;
        Reference reference;
        for (size_t k = 0; k < keys.size(); ++k) {
            press(engine, keys[k]);
            reference.key(keys[k]);
            std::string shown(engine.display().begin(), engine.display().end());
            int64_t amount = engine.amount();
            if (shown == reference.display() && amount == reference.amount()) continue;
            ADD_FAILURE() << "seed " << seed << ", keys \"" << keys.substr(0, k + 1)
                          << "\": calculator shows " << shown << " (" << amount << "), reference "
                          << reference.display() << " (" << reference.amount() << ")";
            ++failures;
            break;
        }
    }
}

}  // namespace

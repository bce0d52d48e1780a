// The calculator's rules as key sequences and the display they leave: typing limits, the decimal
// point, chained operators, "=" repeating, percent, change sign, backspace, clear, "Error" and the
// way out of it; and the display's amount in hundredths both ways.

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "CalculatorEngine.h"

namespace {

// Keys: digits, ".", ",", "+-*/=%" as typed; "B" backspace, "S" change sign, "C" clear.
void press(CalculatorEngine& engine, const std::string& keys) {
    for (char k : keys) {
        if (k == 'B')
            engine.key(8);
        else if (k == 'S')
            engine.changeSign();
        else if (k == 'C')
            engine.reset();
        else
            engine.key(static_cast<char16_t>(k));
    }
}

std::string shown(const CalculatorEngine& engine) {
    return std::string(engine.display().begin(), engine.display().end());
}

struct Sequence {
    const char* keys;
    const char* display;
};

void expectSequences(const std::vector<Sequence>& cases) {
    for (const Sequence& c : cases) {
        CalculatorEngine engine;
        press(engine, c.keys);
        EXPECT_EQ(shown(engine), c.display) << "keys " << c.keys;
    }
}

TEST(CalculatorEngine, Typing) {
    expectSequences({
        {"", "0"},
        {"0", "0"},
        {"007", "7"},
        {"1.2.3", "1.23"},
        {".", "0."},
        {",5", "0.5"},
        {"12,5", "12.5"},
        {"1234567890123456789012", "1234567890123456789"},
        {"0.123456789012345678901", "0.123456789012345678"},
        {"123S4567890123456789012", "-1234567890123456789"},
        {"1234567890123456789.", "1234567890123456789"},
        {"5x", "5"},
    });
}

TEST(CalculatorEngine, OperatorsChainAndEqualsRepeats) {
    expectSequences({
        {"10/3=", "3.33"},
        {"2/3=", "0.67"},
        {"2S/3=", "-0.67"},
        {"5+=", "10.00"},
        {"5+==", "15.00"},
        {"2+3*4=", "20.00"},
        {"2+3+", "5.00"},
        {"5+-3=", "2.00"},
        {"5+3=2", "2"},
        {"5+3=2+1=", "3.00"},
        {"5+3=+=", "16.00"},
        {"6*==", "216.00"},
        {"5=", "5"},
        {"5==", "5"},
        {"1.5*1.5=", "2.25"},
        {"0.005+0=", "0.01"},
    });
}

TEST(CalculatorEngine, Percent) {
    expectSequences({
        {"200+10%", "220.00"},
        {"200-10%", "180.00"},
        {"200*10%", "20.00"},
        {"200/10%", "2000.00"},
        {"50%", "0.50"},
        {"50%%", "0.01"},
        {"200+10%=", "240.00"},
        {"8+2=%", "0.10"},
    });
}

TEST(CalculatorEngine, ChangeSignBackspaceAndClear) {
    expectSequences({
        {"S", "-0"},
        {"5S", "-5"},
        {"5SS", "5"},
        {"5SB", "0"},
        {"12.5B", "12."},
        {"12B", "1"},
        {"1BB", "0"},
        {"2+3=S", "-5.00"},
        {"2+3=S+1=", "-4.00"},
        {"2+3=S*2=", "-10.00"},
        {"2+3=B", "5.0"},
        {"2+3=B+1=", "6.00"},
        {"2+3=C", "0"},
        {"2+3C4=", "4"},
        {"5S+5=", "0.00"},
        {"5S-5S=", "0.00"},
    });
}

TEST(CalculatorEngine, ErrorAndTheWayOut) {
    expectSequences({
        {"7/0=", "Error"},
        {"7/0=5", "5"},
        {"7/0=5+3=", "8.00"},
        {"7/0=S", "Error"},
        {"7/0=B", "0"},
        {"7/0=57B", "5"},
        {"7/0+", "Error"},
        {"7/0+5=", "Error"},
        {"7/0+5+1=", "6.00"},
        {"999999999999999999*10=", "Error"},
        {"999999999999999999+1=", "Error"},
        {"1234567890123456789+1=", "Error"},
        {"200000000*1000000000=", "200000000000000000.00"},
    });
    CalculatorEngine engine;
    press(engine, "7/0=");
    EXPECT_TRUE(engine.startNew());
    EXPECT_EQ(engine.amount(), 0);
}

TEST(CalculatorEngine, StateAfterEachKindOfKey) {
    CalculatorEngine engine;
    EXPECT_TRUE(engine.resultShown());
    EXPECT_TRUE(engine.startNew());
    EXPECT_EQ(engine.pendingOp(), CalculatorEngine::kNoOp);
    press(engine, "12+");
    EXPECT_EQ(engine.pendingOp(), u'+');
    EXPECT_EQ(engine.lastOp(), u'+');
    EXPECT_FALSE(engine.startNew());
    EXPECT_TRUE(engine.resultShown());
    press(engine, "3");
    EXPECT_FALSE(engine.resultShown());
    press(engine, "=");
    EXPECT_EQ(engine.pendingOp(), u'=');
    EXPECT_EQ(engine.lastOp(), u'+');
    EXPECT_FALSE(engine.key(u'a'));
    EXPECT_EQ(shown(engine), "15.00");
}

TEST(CalculatorEngine, AmountOfTheDisplay) {
    struct Case {
        const char16_t* text;
        int64_t amount;
    } cases[] = {
        {u"12.345", 1234},
        {u"12.3", 1230},
        {u"-0.5", -50},
        {u".", 0},
        {u"0.", 0},
        {u"Error", 0},
        {u"-", 0},
        {u"", 0},
        {u"-0", 0},
        {u"7", 700},
        {u"0.05", 5},
        {u"12.", 1200},
        {u"92233720368547758.07", std::numeric_limits<int64_t>::max()},
        {u"92233720368547758.08", 0},
        {u"-92233720368547758.08", std::numeric_limits<int64_t>::min()},
        {u"-92233720368547758.09", 0},
        {u"1234567890123456789", 0},
    };
    for (const auto& c : cases) {
        std::u16string text(c.text);
        EXPECT_EQ(CalculatorEngine::amountOfText(text), c.amount) << std::string(text.begin(), text.end());
    }
}

TEST(CalculatorEngine, SetAmountShowsTwoDecimals) {
    struct Case {
        int64_t amount;
        const char* display;
    } cases[] = {
        {5, "0.05"},
        {45, "0.45"},
        {-12345, "-123.45"},
        {0, "0"},
        {100, "1.00"},
        {-5, "-0.05"},
        {std::numeric_limits<int64_t>::max(), "92233720368547758.07"},
        {std::numeric_limits<int64_t>::min(), "-92233720368547758.08"},
    };
    for (const auto& c : cases) {
        CalculatorEngine engine;
        press(engine, "9+");
        engine.setAmount(c.amount);
        EXPECT_EQ(shown(engine), c.display);
        EXPECT_EQ(engine.amount(), c.amount) << "the shown amount reads back";
        EXPECT_TRUE(engine.startNew()) << "setAmount resets";
        EXPECT_EQ(engine.pendingOp(), CalculatorEngine::kNoOp);
    }
    CalculatorEngine engine;
    engine.setAmount(1250);
    press(engine, "*2=");
    EXPECT_EQ(shown(engine), "25.00") << "the set amount is the next calculation's start";
    engine.setAmount(1250);
    press(engine, "3");
    EXPECT_EQ(shown(engine), "3") << "typing replaces a set amount";
}

}  // namespace

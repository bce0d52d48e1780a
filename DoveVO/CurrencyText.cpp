// The currency text of an amount: the number and the currency symbol in the regional currency patterns.
#include "CurrencyCache.h"
#include "RegionalSettings.h"

namespace dove {
namespace {

std::u16string negativeWithoutSymbol(const std::u16string& signedN, const std::u16string& n, int pattern) {
    switch (pattern) {
        case 0:
        case 4:
        case 14:
        case 15:
            return u"(" + n + u")";
        case 1:
        case 2:
        case 12:
            return u"-" + n;
        case 3:
        case 6:
        case 7:
        case 11:
        case 13:
            return n + u"-";
        case 9:
            return u"- " + n;
        case 10:
            return n + u" -";
        default:
            return signedN;
    }
}

std::u16string positiveWithSymbol(const std::u16string& n, const std::u16string& s, int pattern) {
    switch (pattern) {
        case 0:
            return s + n;
        case 1:
            return n + s;
        case 2:
            return s + u" " + n;
        case 3:
            return n + u" " + s;
        default:
            return n + s;
    }
}

std::u16string negativeWithSymbol(const std::u16string& signedN, const std::u16string& n,
                                  const std::u16string& s, int pattern) {
    switch (pattern) {
        case 0:
            return u"(" + s + n + u")";
        case 1:
            return u"-" + s + n;
        case 2:
            return s + u"-" + n;
        case 3:
            return s + n + u"-";
        case 4:
            return u"(" + n + s + u")";
        case 5:
            return u"-" + n + s;
        case 6:
            return n + u"-" + s;
        case 7:
            return n + s + u"-";
        case 8:
            return signedN + u" " + s;
        case 9:
            return u"-" + s + u" " + n;
        case 10:
            return n + u" " + s + u"-";
        case 11:
            return s + u" " + n + u"-";
        case 12:
            return s + u" -" + n;
        case 13:
            return n + u"- " + s;
        case 14:
            return u"(" + s + u" " + n + u")";
        case 15:
            return u"(" + n + u" " + s + u")";
        default:
            return signedN + s;
    }
}

}  // namespace

std::u16string currencyText(Amount amount, const std::u16string& code, bool omitZeroHundredths,
                            bool negativeLook) {
    std::u16string symbol;
    if (!code.empty()) {
        const CurrencyCache& cache = currencyCache();
        int index = cache.indexOfCode(code);
        if (index >= 0) {
            symbol = cache.entries()[static_cast<size_t>(index)].symbol;
            omitZeroHundredths = cache.entries()[static_cast<size_t>(index)].decimals == 0;
        } else {
            symbol = code;
            omitZeroHundredths = false;
        }
    }
    const RegionalSettings& rs = regionalSettings();
    // The magnitude of the most negative amount does not fit; it keeps its sign in the number instead.
    const Amount magnitude = amount < 0 && amount != INT64_MIN ? -amount : amount;
    const std::u16string n = numberText(magnitude, omitZeroHundredths);
    const bool positiveLook = amount >= 0 && !negativeLook;
    if (symbol.empty()) {
        if (positiveLook) return numberText(amount, omitZeroHundredths);
        return negativeWithoutSymbol(numberText(amount, omitZeroHundredths), n, rs.negativeCurrencyPattern);
    }
    if (positiveLook) return positiveWithSymbol(n, symbol, rs.positiveCurrencyPattern);
    return negativeWithSymbol(numberText(amount, omitZeroHundredths), n, symbol, rs.negativeCurrencyPattern);
}

}  // namespace dove

// Reading the regional-settings snapshot from the locale services.
#include "RegionalSettings.h"

#include <optional>
#include <string>

#include "platform/windows.h"

namespace dove {
namespace {

RegionalSettings g_settings;

std::optional<std::u16string> localeText(LCTYPE item) {
    WCHAR buffer[80] = {};
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, item, buffer, 80) == 0) return std::nullopt;
    return std::u16string(buffer);
}

void readNumber(LCTYPE item, int& target) {
    auto text = localeText(item);
    if (!text) return;
    int value = 0;
    for (char16_t c : *text) {
        if (c < u'0' || c > u'9') break;
        value = value * 10 + (c - u'0');
    }
    target = value;
}

void readFirstCharacter(LCTYPE item, char16_t& target) {
    auto text = localeText(item);
    if (text) target = text->empty() ? u'\0' : (*text)[0];
}

}  // namespace

const RegionalSettings& regionalSettings() {
    return g_settings;
}

void setRegionalSettings(const RegionalSettings& settings) {
    g_settings = settings;
}

void readRegionalSettings() {
    RegionalSettings s = g_settings;
    readNumber(LOCALE_INEGCURR, s.negativeCurrencyPattern);
    readNumber(LOCALE_ICURRENCY, s.positiveCurrencyPattern);
    readNumber(LOCALE_IDATE, s.dateOrder);
    // Some devices answer the date order as a character code; anything still out of range is order 0.
    if (s.dateOrder > 2) s.dateOrder -= 48;
    if (s.dateOrder < 0 || s.dateOrder > 2) s.dateOrder = 0;
    char16_t dateSeparator = s.dateSeparator;
    readFirstCharacter(LOCALE_SDATE, dateSeparator);
    if (dateSeparator != u'\0') s.dateSeparator = dateSeparator;
    readFirstCharacter(LOCALE_SDECIMAL, s.decimalSeparator);
    readFirstCharacter(LOCALE_STHOUSAND, s.thousandsSeparator);
    readNumber(LOCALE_IFIRSTDAYOFWEEK, s.firstDayOfWeek);
    readNumber(LOCALE_IFIRSTWEEKOFYEAR, s.firstWeekOfYear);
    if (s.decimalSeparator == u' ' || s.decimalSeparator == u'\0') {
        s.decimalSeparator = s.thousandsSeparator == u'.' ? u',' : u'.';
    }
    if (s.thousandsSeparator == u'\0') s.thousandsSeparator = u' ';
    g_settings = s;
}

}  // namespace dove

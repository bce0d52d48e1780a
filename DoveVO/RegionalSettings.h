// The process-wide snapshot of the device's regional settings that every text form follows: currency
// patterns, date order and separators, week numbering. Read once at start-up; defaults until then.
#pragma once

namespace dove {

struct RegionalSettings {
    int negativeCurrencyPattern = 5;  // 0..15
    int positiveCurrencyPattern = 0;  // 0..3
    int dateOrder = 0;                // 0 month-day-year, 1 day-month-year, 2 year-month-day
    // A date needs a visible separator, so "/" stands in until the locale gives one.
    char16_t dateSeparator = u'/';
    char16_t decimalSeparator = u'.';
    char16_t thousandsSeparator = u' ';
    int firstDayOfWeek = 0;
    int firstWeekOfYear = 0;
};

// The current snapshot.
const RegionalSettings& regionalSettings();

// Reads every setting from the user's default locale. A query that fails keeps that setting's previous
// value. Afterwards the separators are made usable: a blank or missing decimal separator becomes "."
// (or "," when the thousands separator is "."), a missing thousands separator becomes a space.
void readRegionalSettings();

// Replaces the snapshot (tests and callers that need a known format).
void setRegionalSettings(const RegionalSettings& settings);

}  // namespace dove

// The placeholders a scheduled memo may carry ({month+1}, {year}, {week}, {day}, {date}), replaced by
// the texts of an occurrence's date.
#pragma once

#include <string>

#include "DateTime.h"

namespace dove {

// Replaces every placeholder of text with the date's text. A placeholder is "{" name [sign digits] "}",
// with spaces allowed after "{", before the sign and before "}"; the name is year, month, week, day or
// date, in any case, in English or as the resource words 1170 to 1174. The sign and digits give an
// offset n (0 without them) by which the date first moves: years, months, weeks, or days for day and
// date. Then year gives the four-digit year, month the locale's full month name, week the week number
// under the regional settings' first day of the week and first-week rule, day the two-digit day and
// date the regional short date. Anything else, and a placeholder whose moved date falls outside the
// calendar, stays as written. "Rent for {month+1} {year}" on 31 January 2010 is
// "Rent for February 2010".
std::u16string expandMemo(const std::u16string& text, Date date);

}  // namespace dove

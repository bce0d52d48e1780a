// The two lines of text the item shows beside its icon, made from the loaded data before painting.
#pragma once

#include <string>

#include "TodayData.h"

namespace today {

struct ItemLines {
    std::u16string first;
    std::u16string second;
    bool firstBold = false;  // the first line reports something that needs attention
};

// The first two accounts of the loaded data in display order, one a line: the account's name, a
// blank and its balance in the regional number form followed by its currency code. A line without an
// account is empty.
ItemLines itemLines(const TodayData& data);

}  // namespace today

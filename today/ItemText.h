// The two lines of text the item shows beside its icon, made from the loaded data before painting:
// what needs attention (budgets near their plan, accounts over their limit) and what is due.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "TodayData.h"

namespace today {

// A name the second line lists.
struct ListedName {
    std::u16string text;
    bool red = false;  // an expense budget used above 99 %
};

struct ItemLines {
    std::u16string first;
    bool firstBold = false;  // the first line reports something that needs attention
    // The second line: its text, or, when names is not empty, the names to list as far as they fit.
    std::u16string second;
    std::vector<ListedName> names;
};

// The lines for the loaded data:
// - first: "n Бюджет и m Счет внимание" (each part only when its count is not 0; "Внимание" when
//   n + m is not 1), bold; else "Бюджеты и счета в порядке" when anything is loaded, else "Нет
//   выбранных финансовых данных";
// - second: "k Запланир." for k due scheduled transactions; else the budgets used 80 % or more when a
//   budget needs attention; else the accounts over their limit; else "Нет Запланированных" when
//   anything is loaded, else "Нажмите здесь для найстройки...".
ItemLines itemLines(const TodayData& data);

// A piece of the second line as drawn.
struct LinePiece {
    std::u16string text;
    bool red = false;
};

// The names joined by ", " while each fits in width with what precedes it (measure gives a text's
// width); the first that does not is replaced by "..." and the list ends there.
std::vector<LinePiece> fitNames(const std::vector<ListedName>& names, int width,
                                const std::function<int(const std::u16string&)>& measure);

}  // namespace today

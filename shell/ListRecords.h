// The records the four selection lists show, read from the finance store once and kept until the
// list discards them: accounts in their display order, categories and projects as trees with the
// category type tags and the transfer targets, and the payees that are not hidden.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/windows.h"

namespace shell {

struct ListRecord {
    std::u16string text;
    std::u16string lowered;  // text in lower case, as names are matched
    std::u16string rightText;
    COLORREF rightColor = RGB(0, 0, 0);
    int32_t id = 0;
    // The id of the record's parent among the same records, 0 for a top-level record; a parent
    // always comes before its children.
    int32_t parent = 0;
};

// The category list's type tags: income (string 23, green), expense (string 24, red) and transfer
// (string 25) for any other type and for the transfer targets.
struct TypeTags {
    std::u16string income;
    std::u16string expense;
    std::u16string transfer;
};
inline constexpr COLORREF kIncomeTagColour = RGB(0, 255, 0);
inline constexpr COLORREF kExpenseTagColour = RGB(255, 0, 0);

// The registry value that lets the account list show closed accounts, and its key.
inline constexpr const WCHAR* kAccountCenterKey = u"Software\\Varkel\\Brimwell\\AccountCenter\\";
inline constexpr const WCHAR* kShowClosedAccounts = u"Show Closed Accounts";

// Every account in display-position order (160); a closed one (flag 165) only when "Show Closed
// Accounts" is nonzero.
std::vector<ListRecord> loadAccountRecords();
// The categories above the root (1) as a tree, siblings in name order, each tagged with its type;
// then each account that can take a transfer (none of the flags 259, 165, 168), in display order,
// as "[name]" tagged as a transfer, with the account's negated number as its id.
std::vector<ListRecord> loadCategoryRecords(const TypeTags& tags);
// Every project, the root included, as a tree with siblings in name order.
std::vector<ListRecord> loadProjectRecords();
// Every payee not marked hidden (flag 1003), in the order of their display names.
std::vector<ListRecord> loadPayeeRecords();

// The records in tree order: each parent followed by its children (a parent that is not among the
// records counts as none), siblings in name order (lower case, then id). Records whose parents form a
// cycle follow the rest as top-level records.
std::vector<ListRecord> treeOrder(std::vector<ListRecord> records);

}  // namespace shell

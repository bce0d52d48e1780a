// The finance store's fields that only the Today item reads: what the finance manager's Today set-up
// keeps on accounts (shown on Today, the limit), the account groups in the Customize table, the
// budget lines' amounts, the Planner items' lead days and the data password's digest.
#pragma once

#include <cstdint>

#include "PropertyValue.h"

namespace today::fields {

using dove::PropertyNumber;

// A master record's name.
inline constexpr PropertyNumber kName = 110;

// Accounts.
inline constexpr PropertyNumber kAccountShowOnToday = 170;  // I4: nonzero shows the account on Today
inline constexpr PropertyNumber kAccountLimit = 163;        // amount: the lowest balance wanted; 0 none

// Customize: account groups are the records numbered 1000 to 1099.
inline constexpr PropertyNumber kCustomizeNumber = 801;
inline constexpr PropertyNumber kGroupName = 804;
inline constexpr PropertyNumber kGroupMembers = 805;  // "#12@1#15@0": account 12 counts, 15 does not
inline constexpr int32_t kFirstGroup = 1000;
inline constexpr int32_t kLastGroup = 1099;

// Budgets and their lines.
inline constexpr PropertyNumber kBudgetNumber = 501;
inline constexpr PropertyNumber kBudgetKind = 504;
inline constexpr PropertyNumber kLineActive = 402;        // at least 1: the line is kept
inline constexpr PropertyNumber kLineLimit = 404;         // every month's limit; 0: per month
inline constexpr PropertyNumber kLineJanuaryLimit = 405;  // to 416 for December
inline constexpr PropertyNumber kLineMonthTotal = 417;    // the current month, default currency

// Planner items: an occurrence is listed this many days before its date.
inline constexpr PropertyNumber kLeadDays = 257;

// The data password's digest: on the first record of the reserved account (dove::tx::kPasswordAccount)
// that has one.
inline constexpr PropertyNumber kPasswordDigest = 126;

}  // namespace today::fields

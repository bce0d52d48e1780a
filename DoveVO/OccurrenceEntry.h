// Entering a scheduled item's next occurrence as a transaction of its account, in full or in part: what
// is still due on it, the entered transaction that names the occurrence it pays, the item moved on and
// the future-list entry brought up to date, all in one store transaction.
#pragma once

#include <cstdint>
#include <string>

#include "Amount.h"
#include "StoreStatus.h"
#include "TransactionRecord.h"

namespace dove {

// The next occurrence of an item and what is due on it, in the item's currency.
struct OccurrenceDue {
    uint32_t schedule = 0;
    int32_t index = 0;  // the occurrence's number, 0 for the first
    Date date = 0;      // the occurrence's date
    Amount amount = 0;  // the item's amount (112)
    Amount paid = 0;    // the partial payments entered toward it so far
    std::u16string currency;
    Amount remaining() const { return amount - paid; }
};

enum class DueState : uint8_t { Due, NoSuchItem, Finished };

// The next occurrence of the item with that schedule number (read through the Planner and the entered
// transactions, leaving both sort orders as they were). Finished: the item is marked finished, every
// occurrence of an item with an end was entered, or its next date falls outside the calendar.
DueState nextOccurrenceDue(uint32_t scheduleNumber, OccurrenceDue& due);

// Enters payment (in the item's currency; of the item's sign, or of any sign for an item of amount 0;
// never 0) toward the item's next occurrence: a new transaction of the item's account dated date (0: the
// occurrence's date), with the item's payee, category (a transfer builds its other side), project,
// texts and flags, its memo expanded for the occurrence's date, the amount converted into the
// account's currency when the item keeps another one, and the occurrence it pays (251, 103, 105, 106,
// 107). A payment smaller than what remains leaves the rest due (106 = 1); one that reaches or passes it
// completes the occurrence (106 = 0), and the item moves on (advancePlannerItem). A future-list entry of
// the occurrence loses the amount paid (keeping its first amount in 351), or goes when completed.
// Ok: entered holds the saved transaction. RecordMissing when no item has the number; InvalidRecord when
// the item is finished or the payment is 0 or of the other sign; else the status of the failed write, with
// nothing written and entered unchanged.
StoreStatus enterOccurrence(uint32_t scheduleNumber, Amount payment, Date date, TransactionRecord& entered);

}  // namespace dove

// The future list: every upcoming occurrence of the scheduled items up to a day, built into the
// Scheduled table (which the Today item shows), and read back from it.
//
// How to use it (the Today item, on each reload with the store open):
//   const FutureListStatus status = buildFutureList(today, scheduledDataChanged);
//   if (!succeeded(status)) show the message of the status (texts live with the caller);
//   std::vector<FutureEntry> entries; readFutureList(entries);   // in date order
// Force the build when scheduled data may have changed since the last build in this process (flag 0
// of the notification block, or scheduledChangeCounter() moved): an unforced build only adds what a
// later end day brings or drops what an earlier one no longer covers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Amount.h"
#include "DateTime.h"

namespace dove {

enum class [[nodiscard]] FutureListStatus : uint8_t{
    // The list now holds every occurrence up to the end day.
    Built,
    // Not forced and the list was already built up to that day in this process: nothing was done.
    Unchanged,
    // The Scheduled table could not be opened (the finance manager's "Error Open FutureList Database").
    OpenFailed,
    // A record of the Scheduled table or of the scheduled items could not be read or cleared away
    // ("Error Read record FutureList Database").
    ReadFailed,
    // The Scheduled table was missing and could not be created ("Error Create FutureList Database").
    CreateFailed,
    // An entry could not be written (the table is full, or the store refused the write).
    WriteFailed,
};

inline bool succeeded(FutureListStatus status) {
    return status == FutureListStatus::Built || status == FutureListStatus::Unchanged;
}
// The status's name for logs ("built", "open failed", ...); never shown as a message.
const char* futureListStatusName(FutureListStatus status);

// Builds the future list up to the end of endDay (its time of day is ignored), in one store
// transaction: on any failure the Scheduled table and the computed-until day stay as they were.
// For each scheduled item that is not finished, from its next occurrence on, every occurrence that
// shows (its date minus the item's lead days) on or before endDay and lies within the item's number of
// entries becomes an entry: the item's transaction fields, date 108 = the occurrence, 251 = the item,
// 101 and 102 = identifiers made from the account and from the project (when the item has them) with
// the occurrence's date, and the memo expanded for the occurrence. An occurrence paid in full is left
// out; one paid in part shows what remains in 112 and the item's amount in 351. An item whose date
// does not move on (only once) lists one occurrence.
// force, or no list built yet in this process: the table is emptied and filled anew. Otherwise an
// earlier end day deletes the entries that no longer show, a later one adds the occurrences that show
// after the previous end day, and the same day does nothing (Unchanged). Raises the process's
// scheduled-data change counter. Leaves the sort orders of Transactions, Scheduled and Planner as it
// found them.
FutureListStatus buildFutureList(Date endDay, bool force);

// The end of the day the list was last built up to in this process (23:59:59.999), 0 when none was.
Date futureListComputedUntil();
// Forgets that day, so that the next build empties and fills the table whatever it is asked.
void forgetFutureList();

// One entry of the future list.
struct FutureEntry {
    Date date = 0;  // the occurrence
    uint32_t schedule = 0;
    int32_t account = 0;
    int32_t category = 0;
    int32_t project = 0;
    int32_t payee = 0;
    std::u16string payeeName;
    Amount amount = 0;               // what is due
    Amount amountBeforePayment = 0;  // the item's amount when a part was paid, else 0
    std::u16string currency;
    std::u16string memo;  // expanded
    std::u16string identifier;
};

// Every entry of the Scheduled table in date order (the table's order restored). False, with entries
// holding what was read, when a record could not be read.
bool readFutureList(std::vector<FutureEntry>& entries);

}  // namespace dove

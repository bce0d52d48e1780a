// The one result of every write of the data code (saves, deletes, balance passes, master records): what
// happened, so that the program can tell the user why a save failed without any text living here.
#pragma once

#include <cstdint>

#include "platform/wintypes.h"

namespace dove {

// Each failure means that nothing was written: the store transaction around the operation was rolled
// back. The program chooses the message a user sees from the status (the data code shows none). No
// caller may drop a status: the compiler refuses a call whose status is ignored.
enum class [[nodiscard]] StoreStatus : uint8_t{
    // Done and committed.
    Ok,
    // The record has no account (a number below 1), so no identifier can be made for it.
    NoAccount,
    // The account the operation names is not in the Accounts table (a balance pass; logged).
    AccountMissing,
    // The stored record the operation starts from is gone (changed or deleted by another program).
    RecordMissing,
    // The stored record could not be reached again once the split lines were rewritten: the table's
    // order no longer finds it. The user is told to have the finance manager reindex the store.
    ReindexNeeded,
    // The stored record could not be reached by the field writer.
    RecordUnreachable,
    // The write would give a second record an identifier that another record already has.
    DuplicateIdentifier,
    // The record cannot be written as it is: a kind outside 0 to 4, a record of the Scheduled table,
    // or a delete of something that is not a transaction.
    InvalidRecord,
    // The table already holds the 65,535 records it can hold.
    TableFull,
    // The store refused a write or delete, or the store transaction could not begin or commit.
    WriteFailed,
    // An amount, running balance, account balance or budget total would leave the range of an amount
    // (signed 64-bit hundredths), or a date would lie outside 1601 to 9999.
    OutOfRange,
    // The store can only be read (its file or folder is not writable, or the program only reads).
    ReadOnly,
    // Another program held the store's write lock longer than the store waits.
    Busy,
    // The store file is damaged or is not a finance store; it is left as it is.
    Damaged,
    // The store file cannot be opened (it is missing where it may not be created, or is no file).
    Unavailable,
};

// The status's name for logs and diagnostics ("ok", "no account", ...); never shown as a message.
const char* statusName(StoreStatus status);

// The status of a store call that failed with the platform error: ReadOnly, Busy, Damaged, Unavailable
// or TableFull for the store's own errors, WriteFailed for any other.
StoreStatus statusOfStoreError(DWORD error);

}  // namespace dove

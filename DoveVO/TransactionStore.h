// Loading, saving and deleting transaction records with everything tied to them: split lines, the other
// side of a transfer, budget totals, running balances, project totals, deletion reports and the
// notification flags. Each public save or delete is one store transaction: all of it or nothing.
#pragma once

#include <cstdint>
#include <string>

#include "StoreStatus.h"
#include "TransactionRecord.h"

namespace dove {

// Moves Transactions (sorted by identifier) to index and reads the record; for a transfer the other
// side's cleared flag and text are read too; a record without payee number gets the number of the payee
// named in 110 (or 136). False, record unchanged, when there is no record at index.
bool loadTransaction(TransactionRecord& record, int index);
// The same for the record with that identifier.
bool loadTransactionByIdentifier(TransactionRecord& record, const std::u16string& identifier);
// Loads a split line: as loadTransaction, with the kind forced to 2.
bool loadSplitLine(TransactionRecord& record, int index);
// Fills a split owner's split list with its stored lines, in sequence order.
bool loadSplitLines(TransactionRecord& owner);

// The full write of a Transactions or Planner record (see the implementation for the steps). Ok: the
// record holds its identifier, key and position and no set flags. Any other status: nothing was written
// (the store transaction was rolled back), the record is as it was before the call, and the table
// cursors hold no current record. The statuses a save can give:
//   InvalidRecord       a record of the Scheduled table, or a kind outside 0 to 4;
//   RecordMissing       the stored record the save starts from is gone;
//   ReindexNeeded       the stored record cannot be reached again once its split lines were rewritten;
//   RecordUnreachable   the field writer cannot reach the stored record;
//   NoAccount           no identifier can be made (an account below 1);
//   DuplicateIdentifier a split line or generated transaction would take an identifier in use, or the
//                       split list holds one stored line twice;
//   TableFull, WriteFailed  the store refused a write.
StoreStatus saveTransaction(TransactionRecord& record);
// Marks every non-empty field as set, forgets any stored position and saves: a new record.
StoreStatus addNewTransaction(TransactionRecord& record);
// Deletes a Transactions record asked for by the user, with its split lines and the other side of a
// transfer; a transaction entered from a scheduled item moves to the reserved account 2000000000 instead
// of disappearing. All or nothing, like the save: InvalidRecord for a record of another table,
// RecordMissing when it is no longer stored, else the status of the write that failed.
StoreStatus deleteTransaction(TransactionRecord& record);
// Deletes a scheduled item (a Planner record) and detaches the transactions generated from it.
StoreStatus deleteScheduledItem(TransactionRecord& item);
// Reads the scheduled item with that schedule number from Planner, its date being its next occurrence
// (253); false when no item has that number.
bool readScheduledItem(uint32_t scheduleNumber, TransactionRecord& item);
// The remaining occurrences of a scheduled item: 255 minus 254, or -1 for an item without end.
int32_t remainingOccurrences(const TransactionRecord& item);

// Adds a Deleted Items record (901 = itemKind, 135 = key, 108 = UTC now).
StoreStatus reportDeletion(int32_t itemKind, const std::u16string& key);
inline constexpr int32_t kDeletedTransaction = 4;

}  // namespace dove

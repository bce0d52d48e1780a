// Steps shared by the save and the delete of transaction records (internal to the data code): reaching
// a stored record, the stored state a save starts from, and the single-record save and delete that the
// public operations wrap in one store transaction.
#pragma once

#include <string>

#include "StoreStatus.h"
#include "TableCursor.h"
#include "TransactionRecord.h"

namespace dove::detail {

// What the store held for a record before the save changed it.
struct StoredState {
    bool exists = false;
    int32_t account = 0;
    int32_t category = 0;
    int32_t project = 0;
    int32_t kind = 0;
    int32_t excluded = 0;
    Date date = 0;
    Amount amount = 0;
    std::u16string currency;
    std::u16string identifier;
    std::u16string link;
};

TableCursor& tableOf(const TransactionRecord& record);
// Puts the record's table onto its stored record (by position, checked by identifier or schedule
// number, else by a seek) and updates the record's position. False when it is gone.
// storedIdentifier, when given, is the identifier the store holds (the record's own may be a new one).
bool reachStored(TransactionRecord& record, const std::u16string* storedIdentifier = nullptr);
StoredState readStored(const TableCursor& table);
// Reads the record at the cursor's current record into record, with the transfer partner's fields.
void loadCurrent(TransactionRecord& record, RecordSource source);

// Who asks for a save: the caller, the save of a transfer's first side (the other side does not come
// back to build the first), or the save of a split owner (only it may move its lines).
enum class SaveRole { Direct, OtherSide, LineOfOwner };

// The save of one record with its split lines, transfer side and balances.
StoreStatus saveOne(TransactionRecord& record, SaveRole role);
// The delete of one Transactions record; byUser false when it goes as a dependant of its other side.
StoreStatus deleteOne(TransactionRecord& record, bool byUser);

// Brings the stored split lines of an owner (stored as s, already written) in line with its split list:
// the stored lines the list no longer holds are deleted with their counterparts, then every line of
// the list is written, new ones numbered above every line the owner had in the store.
StoreStatus saveSplitLines(TransactionRecord& owner, const StoredState& s);
// A split owner that moves to another account or date takes its stored lines along even when the
// caller never loaded them (their identifiers are made from the owner's); the owner's table is then put
// back on the owner (ReindexNeeded when that fails).
StoreStatus adoptStoredLinesIfMoved(TransactionRecord& r, const StoredState& s);

// Identifiers of the stored split lines of an owner with that account and date, in order.
std::vector<std::u16string> storedSplitIdentifiers(int32_t account, Date ownerDate);

// Raises the transactions (flag 1) or scheduled-data (flag 0) change signals once the store transaction
// has committed.
void signalTransactionsChanged();
void signalScheduledChanged();

}  // namespace dove::detail

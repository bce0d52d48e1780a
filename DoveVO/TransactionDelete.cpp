// Deleting transaction records with their dependants, detaching the transactions of a deleted scheduled
// item, deletion reports, and the public save and delete, each one store transaction.
#include "Budgets.h"
#include "FinanceStore.h"
#include "LinkedReminder.h"
#include "Operation.h"
#include "Options.h"
#include "PlannerItem.h"
#include "Projects.h"
#include "TransactionSteps.h"
#include "TransactionStore.h"

namespace dove {
namespace detail {
namespace {

// The status of a write of the Transactions table.
StoreStatus written(bool ok) {
    return ok ? StoreStatus::Ok : tableCursor(Table::Transactions).writeFailure();
}

// A record deleted as a dependant: the record its link names is no longer a transfer.
StoreStatus unlinkPartner(const std::u16string& link) {
    TransactionRecord partner;
    if (!loadTransactionByIdentifier(partner, link)) return StoreStatus::Ok;
    std::vector<PropertyValue> values;
    if (partner.category() < 0) values.push_back(PropertyValue::i4(tx::kCategory, 0));
    if (partner.kind() == kKindSplitTransfer) values.push_back(PropertyValue::i4(tx::kKind, kKindPlain));
    values.push_back(PropertyValue::string(tx::kLink, u""));
    values.push_back(PropertyValue::date(tx::kModifiedStamp, nowUtc()));
    values.push_back(PropertyValue::i4(tx::kModifiedFlag, -1));
    return written(tableCursor(Table::Transactions).writeProperties(values));
}

bool plannerItemExists(int32_t scheduleNumber) {
    TableCursor& planner = tableCursor(Table::Planner);
    SortScope sorted(planner, tx::kScheduleNumber, SortKind::I4);
    return planner.seekFirstEqual(scheduleNumber);
}

// Step 3: an entered occurrence of a scheduled item moves to the reserved account; anything else goes.
StoreStatus removeOrPark(TransactionRecord& r, const StoredState& s) {
    TableCursor& t = tableCursor(Table::Transactions);
    const int32_t schedule = r.i4(tx::kScheduleNumber);
    if (schedule != 0 && s.kind != kKindGenerated && plannerItemExists(schedule)) {
        Date d = s.date;
        auto id = makeUniqueTransactionIdentifier(static_cast<uint32_t>(tx::kDeletedOccurrencesAccount), &d);
        if (!id) return StoreStatus::NoAccount;
        if (!reachStored(r, &s.identifier)) return StoreStatus::RecordUnreachable;
        return written(
            t.writeProperties({PropertyValue::string(tx::kIdentifier, *id),
                               PropertyValue::i4(tx::kAccount, tx::kDeletedOccurrencesAccount),
                               PropertyValue::date(tx::kDate, d), PropertyValue::string(tx::kProjectKey, u""),
                               PropertyValue::i4(tx::kCategory, 0), PropertyValue::string(tx::kLink, u"")}));
    }
    if (!reachStored(r, &s.identifier)) return StoreStatus::RecordUnreachable;
    return written(t.deleteAt(t.position()));
}

// After a split line went as a dependant: an owner left without lines is a plain transaction again.
StoreStatus reevaluateOwnerOf(const std::u16string& lineId) {
    const std::u16string ownerId = splitOwnerIdentifier(lineId);
    TransactionRecord owner;
    if (ownerId.empty() || !loadTransactionByIdentifier(owner, ownerId)) return StoreStatus::Ok;
    if (owner.kind() != kKindSplitOwner || !storedSplitIdentifiers(owner.account(), owner.date()).empty())
        return StoreStatus::Ok;
    if (!reachStored(owner)) return StoreStatus::RecordUnreachable;
    return written(tableCursor(Table::Transactions)
                       .writeProperties({PropertyValue::i4(tx::kKind, kKindPlain),
                                         PropertyValue::i4(tx::kModifiedFlag, -1),
                                         PropertyValue::date(tx::kModifiedStamp, nowUtc())}));
}

StoreStatus deleteSplitLinesOf(const StoredState& s) {
    for (const std::u16string& id : storedSplitIdentifiers(s.account, s.date)) {
        TransactionRecord line;
        if (!loadTransactionByIdentifier(line, id)) continue;
        const StoreStatus status = deleteOne(line, true);
        if (status != StoreStatus::Ok) return status;
    }
    return StoreStatus::Ok;
}

// The other side of a transfer goes with a record the user deletes; a record deleted as a
// dependant leaves its other side a plain transaction.
StoreStatus detachOtherSide(const StoredState& s, bool byUser) {
    if (s.link.empty()) return StoreStatus::Ok;
    if (!byUser) return unlinkPartner(s.link);
    TransactionRecord other;
    if (!loadTransactionByIdentifier(other, s.link) || other.link() != s.identifier) return StoreStatus::Ok;
    const bool otherIsLine = other.kind() == kKindSplitLine;
    const StoreStatus status = deleteOne(other, false);
    if (status != StoreStatus::Ok || !otherIsLine) return status;
    return reevaluateOwnerOf(s.link);
}

// Once the record is gone: the deletion report, the budget line, balances and project
// totals.
StoreStatus afterDelete(const StoredState& s, const std::u16string& key) {
    if (!key.empty() && s.kind != kKindSplitLine && isSyncPartnerSet()) {
        const StoreStatus reported = reportDeletion(kDeletedTransaction, key);
        if (reported != StoreStatus::Ok) return reported;
    }
    StoreStatus status = takeOutOfBudget(BudgetContribution{s.category, s.amount, s.currency, s.date});
    // Split lines sort outside their account's range and never count toward its balance.
    if (status == StoreStatus::Ok && s.kind != kKindSplitLine && s.account > 0 &&
        s.account < tx::kDeletedOccurrencesAccount) {
        status = Operation::recalcBalanseFrom(s.account, s.identifier);
        // A pass for an account missing from the Accounts table has logged it; the delete stands.
        if (status == StoreStatus::AccountMissing) status = StoreStatus::Ok;
    }
    if (status == StoreStatus::Ok) status = invalidateProjectTotals(s.project);
    return status;
}

}  // namespace

StoreStatus deleteOne(TransactionRecord& r, bool byUser) {
    if (r.source() != RecordSource::Transactions) return StoreStatus::InvalidRecord;
    if (!reachStored(r)) return StoreStatus::RecordMissing;
    const StoredState s = readStored(tableCursor(Table::Transactions));
    const std::u16string key = r.key();
    StoreStatus status = s.kind == kKindSplitOwner ? deleteSplitLinesOf(s) : StoreStatus::Ok;
    if (status == StoreStatus::Ok) status = detachOtherSide(s, byUser);
    if (status == StoreStatus::Ok) status = removeOrPark(r, s);
    if (status == StoreStatus::Ok) status = afterDelete(s, key);
    if (status != StoreStatus::Ok) return status;
    signalTransactionsChanged();
    r.forgetPosition();
    return StoreStatus::Ok;
}

}  // namespace detail

namespace {

// Runs one write under a store transaction; on failure the record gets its state from before.
template <class Write>
StoreStatus atomically(TransactionRecord& record, Write write) {
    TransactionRecord before = record;
    const StoreStatus status = inStoreTransaction(write);
    if (status != StoreStatus::Ok) record = std::move(before);
    return status;
}

StoreStatus detachGenerated(int32_t schedule) {
    TableCursor& t = tableCursor(Table::Transactions);
    std::vector<std::u16string> ids;
    {
        SortScope sorted(t, tx::kOccurrenceKey, SortKind::String);
        if (t.seekFirstGreater(accountStartKey(static_cast<uint32_t>(schedule)))) {
            do {
                if (t.getI4(tx::kScheduleNumber) != schedule) break;
                ids.push_back(t.getString(tx::kIdentifier));
            } while (t.moveNext());
        }
    }
    for (const std::u16string& id : ids) {
        TransactionRecord r;
        if (!loadTransactionByIdentifier(r, id)) return StoreStatus::RecordMissing;
        const bool ok =
            r.account() == tx::kDeletedOccurrencesAccount
                ? t.deleteAt(t.position())
                : t.writeProperties(
                      {PropertyValue::i4(tx::kScheduleNumber, 0), PropertyValue::date(tx::kScheduledDate, 0),
                       PropertyValue::date(tx::kUnpaidFlag, 0), PropertyValue::date(tx::kPaidAmount, 0),
                       PropertyValue::i4(tx::kModifiedFlag, -1),
                       PropertyValue::string(tx::kOccurrenceKey, u"")});
        if (!ok) return t.writeFailure();
    }
    return StoreStatus::Ok;
}

}  // namespace

StoreStatus saveTransaction(TransactionRecord& record) {
    return atomically(record, [&] { return detail::saveOne(record, detail::SaveRole::Direct); });
}

StoreStatus addNewTransaction(TransactionRecord& record) {
    record.forgetPosition();
    record.markAllNonEmptySet();
    return saveTransaction(record);
}

StoreStatus deleteTransaction(TransactionRecord& record) {
    return atomically(record, [&] { return detail::deleteOne(record, true); });
}

StoreStatus deleteScheduledItem(TransactionRecord& item) {
    if (item.source() != RecordSource::Planner) return StoreStatus::InvalidRecord;
    return atomically(item, [&] {
        const StoreStatus detached = detachGenerated(item.i4(tx::kScheduleNumber));
        if (detached != StoreStatus::Ok) return detached;
        if (!detail::reachStored(item)) return StoreStatus::RecordMissing;
        TableCursor& planner = tableCursor(Table::Planner);
        const int32_t reminder = planner.getI4(plan::kReminder);
        if (!planner.deleteAt(planner.position())) return planner.writeFailure();
        detail::signalScheduledChanged();
        // The reminder the finance manager linked to the item goes once the delete is durable.
        if (reminder > 0) afterCommit([reminder] { dropReminderOfDeletedItem(reminder); });
        item.forgetPosition();
        return StoreStatus::Ok;
    });
}

StoreStatus reportDeletion(int32_t itemKind, const std::u16string& key) {
    TableCursor& deleted = tableCursor(Table::DeletedItems);
    if (deleted.addRecord({PropertyValue::i4(901, itemKind), PropertyValue::string(135, key),
                           PropertyValue::date(108, nowUtc())}) == 0)
        return deleted.writeFailure();
    return StoreStatus::Ok;
}

}  // namespace dove

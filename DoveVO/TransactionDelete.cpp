// Deleting transaction records with their dependants, detaching the transactions of a deleted scheduled
// item, deletion reports, and the public save and delete, each one store transaction.
#include "Budgets.h"
#include "FinanceStore.h"
#include "Operation.h"
#include "Options.h"
#include "Projects.h"
#include "TransactionSteps.h"
#include "TransactionStore.h"

namespace dove {
namespace detail {
namespace {

// A record deleted as a dependant: the record its link names is no longer a transfer.
bool unlinkPartner(const std::u16string& link) {
    TransactionRecord partner;
    if (!loadTransactionByIdentifier(partner, link)) return true;
    std::vector<PropertyValue> values;
    if (partner.category() < 0) values.push_back(PropertyValue::i4(tx::kCategory, 0));
    if (partner.kind() == kKindSplitTransfer) values.push_back(PropertyValue::i4(tx::kKind, kKindPlain));
    values.push_back(PropertyValue::string(tx::kLink, u""));
    values.push_back(PropertyValue::date(tx::kModifiedStamp, nowUtc()));
    values.push_back(PropertyValue::i4(tx::kModifiedFlag, -1));
    return tableCursor(Table::Transactions).writeProperties(values);
}

bool plannerItemExists(int32_t scheduleNumber) {
    TableCursor& planner = tableCursor(Table::Planner);
    SortScope sorted(planner, tx::kScheduleNumber, SortKind::I4);
    return planner.seekFirstEqual(scheduleNumber);
}

// Step 3: an entered occurrence of a scheduled item moves to the reserved account; anything else goes.
bool removeOrPark(TransactionRecord& r, const StoredState& s) {
    TableCursor& t = tableCursor(Table::Transactions);
    const int32_t schedule = r.i4(tx::kScheduleNumber);
    if (schedule != 0 && s.kind != kKindGenerated && plannerItemExists(schedule)) {
        Date d = s.date;
        auto id = makeUniqueTransactionIdentifier(static_cast<uint32_t>(tx::kDeletedOccurrencesAccount), &d);
        if (!id || !reachStored(r, &s.identifier)) return false;
        return t.writeProperties(
            {PropertyValue::string(tx::kIdentifier, *id),
             PropertyValue::i4(tx::kAccount, tx::kDeletedOccurrencesAccount),
             PropertyValue::date(tx::kDate, d), PropertyValue::string(tx::kProjectKey, u""),
             PropertyValue::i4(tx::kCategory, 0), PropertyValue::string(tx::kLink, u"")});
    }
    if (!reachStored(r, &s.identifier)) return false;
    return t.deleteAt(t.position());
}

// After a split line went as a dependant: an owner left without lines is a plain transaction again.
bool reevaluateOwnerOf(const std::u16string& lineId) {
    const std::u16string ownerId = splitOwnerIdentifier(lineId);
    TransactionRecord owner;
    if (ownerId.empty() || !loadTransactionByIdentifier(owner, ownerId)) return true;
    if (owner.kind() != kKindSplitOwner || !storedSplitIdentifiers(owner.account(), owner.date()).empty())
        return true;
    if (!reachStored(owner)) return false;
    return tableCursor(Table::Transactions)
        .writeProperties({PropertyValue::i4(tx::kKind, kKindPlain), PropertyValue::i4(tx::kModifiedFlag, -1),
                          PropertyValue::date(tx::kModifiedStamp, nowUtc())});
}

bool deleteSplitLinesOf(const StoredState& s) {
    for (const std::u16string& id : storedSplitIdentifiers(s.account, s.date)) {
        TransactionRecord line;
        if (loadTransactionByIdentifier(line, id) && !deleteOne(line, true)) return false;
    }
    return true;
}

}  // namespace

bool deleteOne(TransactionRecord& r, bool byUser) {
    if (r.source() != RecordSource::Transactions || !reachStored(r)) return false;
    const StoredState s = readStored(tableCursor(Table::Transactions));
    const std::u16string key = r.key();
    if (s.kind == kKindSplitOwner && !deleteSplitLinesOf(s)) return false;
    if (!s.link.empty()) {
        if (byUser) {
            TransactionRecord other;
            if (loadTransactionByIdentifier(other, s.link) && other.link() == s.identifier) {
                const bool otherIsLine = other.kind() == kKindSplitLine;
                if (!deleteOne(other, false)) return false;
                if (otherIsLine && !reevaluateOwnerOf(s.link)) return false;
            }
        } else if (!unlinkPartner(s.link)) {
            return false;
        }
    }
    if (!removeOrPark(r, s)) return false;
    if (!key.empty() && s.kind != kKindSplitLine && isSyncPartnerSet() &&
        !reportDeletion(kDeletedTransaction, key))
        return false;
    if (!takeOutOfBudget(BudgetContribution{s.category, s.amount, s.currency, s.date})) return false;
    // Split lines sort outside their account's range and never count toward its balance.
    if (s.kind != kKindSplitLine && s.account > 0 && s.account < tx::kDeletedOccurrencesAccount)
        Operation::recalcBalanseFrom(s.account, s.identifier);
    invalidateProjectTotals(s.project);
    signalTransactionsChanged();
    r.forgetPosition();
    return true;
}

}  // namespace detail

namespace {

// Runs one write under a store transaction; on failure the record gets its state from before.
template <class Write>
bool atomically(TransactionRecord& record, Write write) {
    TransactionRecord before = record;
    StoreTransaction bracket;
    if (!bracket.active()) return false;
    if (write() && bracket.commit()) return true;
    record = std::move(before);
    return false;
}

bool detachGenerated(int32_t schedule) {
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
        if (!loadTransactionByIdentifier(r, id)) return false;
        if (r.account() == tx::kDeletedOccurrencesAccount) {
            if (!t.deleteAt(t.position())) return false;
            continue;
        }
        if (!t.writeProperties(
                {PropertyValue::i4(tx::kScheduleNumber, 0), PropertyValue::date(tx::kScheduledDate, 0),
                 PropertyValue::date(tx::kUnpaidFlag, 0), PropertyValue::date(tx::kPaidAmount, 0),
                 PropertyValue::i4(tx::kModifiedFlag, -1), PropertyValue::string(tx::kOccurrenceKey, u"")}))
            return false;
    }
    return true;
}

}  // namespace

bool saveTransaction(TransactionRecord& record) {
    return atomically(record, [&] { return detail::saveOne(record, detail::SaveRole::Direct); });
}

bool addNewTransaction(TransactionRecord& record) {
    record.forgetPosition();
    record.markAllNonEmptySet();
    return saveTransaction(record);
}

bool deleteTransaction(TransactionRecord& record) {
    return atomically(record, [&] { return detail::deleteOne(record, true); });
}

bool deleteScheduledItem(TransactionRecord& item) {
    if (item.source() != RecordSource::Planner) return false;
    return atomically(item, [&] {
        const int32_t schedule = item.i4(tx::kScheduleNumber);
        if (!detachGenerated(schedule) || !detail::reachStored(item)) return false;
        TableCursor& planner = tableCursor(Table::Planner);
        if (!planner.deleteAt(planner.position())) return false;
        detail::signalScheduledChanged();
        item.forgetPosition();
        return true;
    });
}

bool reportDeletion(int32_t itemKind, const std::u16string& key) {
    TableCursor& deleted = tableCursor(Table::DeletedItems);
    return deleted.addRecord({PropertyValue::i4(901, itemKind), PropertyValue::string(135, key),
                              PropertyValue::date(108, nowUtc())}) != 0;
}

}  // namespace dove

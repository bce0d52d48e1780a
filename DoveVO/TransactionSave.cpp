// The full write of a transaction record: kind rules, the identifier, the field writer with budget
// totals, split lines, the other side of a transfer and its links, balances and change signals.
#include <algorithm>
#include <cstring>

#include "Accounts.h"
#include "Budgets.h"
#include "CurrencyCache.h"
#include "FinanceStore.h"
#include "Operation.h"
#include "Projects.h"
#include "TransactionSteps.h"
#include "TransactionStore.h"

namespace dove::detail {
namespace {

bool isReservedAccount(int32_t account) {
    return account >= tx::kDeletedOccurrencesAccount;
}

// -value; false for the one amount whose negation is no amount.
bool negated(Amount value, Amount& result) {
    return subtractAmounts(0, value, result);
}

bool sameDay(Date a, Date b) {
    return compareDates(a, b, kCompareDays) == 0;
}

// Step 3: the category the save works with, and the kind rules of step 4 and 5.
void settleCategoryAndKind(TransactionRecord& r, const StoredState& s) {
    if (s.exists) {
        if (!r.isSet(tx::kCategory)) {
            r.setCategory(s.category);
            r.clearSetFlag(tx::kCategory);
        } else if (r.category() == s.category) {
            r.clearSetFlag(tx::kCategory);
        }
    }
    if (r.kind() == kKindSplitOwner && r.isSet(tx::kCategory) && r.category() != 0) r.dropSplitList();
    if (r.kind() == kKindSplitTransfer && r.category() >= 0 && s.category < 0) r.setKind(kKindPlain);
    if (r.category() != 0 && r.category() == -r.account()) r.setCategory(0);
}

// A formatted identifier (not made unique by a search) that another record already has.
bool takenByAnother(const std::u16string& id, const StoredState& s) {
    if (s.exists && id == s.identifier) return false;
    TableCursor& t = tableCursor(Table::Transactions);
    return t.ensureSort(tx::kIdentifier, SortKind::String) && t.findEqual(id) >= 0;
}

// The identifier of a split line, which follows its owner. Moved on its own it would lose the owner, so it
// stays.
StoreStatus splitLineIdentifier(TransactionRecord& r, const StoredState& s, SaveRole role,
                                std::u16string& id) {
    if (s.exists && role != SaveRole::LineOfOwner && (r.account() != s.account || r.date() != s.date)) {
        r.setAccount(s.account);
        r.setDate(s.date);
        r.clearSetFlag(tx::kAccount);
        r.clearSetFlag(tx::kDate);
    }
    if (r.account() < 1) return StoreStatus::NoAccount;
    id = splitIdentifier(static_cast<uint32_t>(r.account()), r.date(), r.sequence());
    return StoreStatus::Ok;
}

// The identifier of kinds 0, 1 and 4: a unique one when the account or date changed, else the stored one.
StoreStatus transactionIdentifierOf(TransactionRecord& r, const StoredState& s, std::u16string& id,
                                    bool& unique) {
    const bool accountChanged = !s.exists || r.account() != s.account;
    const bool dateChanged = !s.exists || r.date() != s.date;
    if (!accountChanged && dateChanged && sameDay(r.date(), s.date)) {
        // Only the time moved within the day: the stored date and time stay.
        r.setDate(s.date);
        r.clearSetFlag(tx::kDate);
    }
    if (!accountChanged && r.date() == s.date) {
        id = transactionIdentifier(static_cast<uint32_t>(s.account), s.date);
        return StoreStatus::Ok;
    }
    if (r.account() < 1) return StoreStatus::NoAccount;
    Date d = r.date();
    auto made = makeUniqueTransactionIdentifier(static_cast<uint32_t>(r.account()), &d);
    // With an account, only a date moved past the last one there can be fails.
    if (!made) return StoreStatus::OutOfRange;
    id = *made;
    unique = true;
    r.setDate(d);
    return StoreStatus::Ok;
}

// The identifier of a Transactions record. A formatted identifier that another record holds is
// refused: two records sharing one would make every later seek for it find either.
StoreStatus settleIdentifier(TransactionRecord& r, const StoredState& s, SaveRole role) {
    std::u16string id;
    bool unique = false;
    StoreStatus status = StoreStatus::Ok;
    switch (r.kind()) {
        case kKindSplitLine:
            status = splitLineIdentifier(r, s, role, id);
            break;
        case kKindGenerated:
            id = scheduledInstanceIdentifier(static_cast<uint32_t>(r.i4(tx::kScheduleNumber)), r.sequence());
            break;
        case kKindPlain:
        case kKindSplitOwner:
        case kKindSplitTransfer:
            status = transactionIdentifierOf(r, s, id, unique);
            break;
        default:
            return StoreStatus::InvalidRecord;
    }
    if (status != StoreStatus::Ok) return status;
    if (!unique && takenByAnother(id, s)) return StoreStatus::DuplicateIdentifier;
    if (id != r.identifier()) r.setText(tx::kIdentifier, id);
    return StoreStatus::Ok;
}

std::u16string projectKeyOf(const TransactionRecord& r) {
    if (r.project() <= 1 || isReservedAccount(r.account()) || r.kind() == kKindGenerated) return {};
    return transactionIdentifier(static_cast<uint32_t>(r.project()), r.date());
}

BudgetContribution contributionOf(int32_t category, Amount amount, const std::u16string& currency,
                                  Date date) {
    return BudgetContribution{category, amount, currency, date};
}

bool budgetFieldsChanged(const TransactionRecord& r) {
    return r.isSet(tx::kAmount) || r.isSet(tx::kCategory) || r.isSet(tx::kDate) || r.isSet(tx::kCurrency);
}

// Step 7: writes the set fields (a new record in one write) and keeps the budget totals.
StoreStatus writeFields(TransactionRecord& r, const StoredState& s) {
    TableCursor& table = tableOf(r);
    const bool budgets = r.source() == RecordSource::Transactions && budgetFieldsChanged(r);
    if (s.exists && budgets) {
        const StoreStatus taken = takeOutOfBudget(contributionOf(s.category, s.amount, s.currency, s.date));
        if (taken != StoreStatus::Ok) return taken;
    }
    if (s.exists) {
        if (!reachStored(r, r.source() == RecordSource::Planner ? nullptr : &s.identifier))
            return StoreStatus::RecordUnreachable;
        if (!table.writeProperties(r.setValues())) return table.writeFailure();
    } else if (table.addRecord(r.setValues()) == 0) {
        return table.writeFailure();
    }
    r.assignPosition(table.position());
    if (!budgets) return StoreStatus::Ok;
    return putIntoBudget(contributionOf(r.category(), r.amount(), r.currency(), r.date()));
}

// Writes one property of a stored record, committed.
StoreStatus writeOne(TransactionRecord& r, PropertyValue value) {
    if (!reachStored(r)) return StoreStatus::RecordUnreachable;
    if (!tableOf(r).writeProperties({value})) return tableOf(r).writeFailure();
    r.assignPosition(tableOf(r).position());
    return StoreStatus::Ok;
}

// The other side's amount: this record's amount in the other account's currency, negated. Between two
// currencies the other side also keeps this amount as its entered amount (121, 122) with the rate (142),
// all three set so that the save sees them as given together with the amount; in one currency it has
// none, and whatever an earlier conversion left there is cleared. OutOfRange, with nothing set, when
// the converted or negated amount would leave the range of an amount.
StoreStatus convertInto(TransactionRecord& other, const TransactionRecord& r, int32_t otherAccount) {
    std::u16string from = r.currency().empty() ? accountCurrency(r.account()) : r.currency();
    std::u16string to = accountCurrency(otherAccount);
    if (to.empty()) to = from;
    const double rate = from == to ? 1.0 : currencyCache().getRate(from, to, r.date());
    Amount converted = r.amount(), amount = 0, entered = 0;
    if ((from != to && !amountFromRealInRange(static_cast<double>(r.amount()) * rate, converted)) ||
        !negated(converted, amount) || !negated(r.amount(), entered))
        return StoreStatus::OutOfRange;
    other.change64(tx::kAmount, static_cast<uint64_t>(amount));
    other.changeText(tx::kCurrency, to);
    if (from == to) {
        other.clearEnteredAmount();
        return StoreStatus::Ok;
    }
    uint64_t bits = 0;
    std::memcpy(&bits, &rate, sizeof bits);
    other.set64(tx::kEnteredAmount, static_cast<uint64_t>(entered));
    other.setText(tx::kEnteredCurrency, from);
    other.set64(tx::kRate, bits);
    return StoreStatus::Ok;
}

// Whether the other side takes this record's date. A split line's date is its owner's (its identifier
// is made from the owner's), so a split line on the other side keeps its date. The counterpart of a
// split line takes the line's date when it is new, and when the line moves with its owner while the
// counterpart still stood on the line's former date; one moved to a day of its own stays there.
bool takesDate(const TransactionRecord& r, const StoredState& s, const TransactionRecord& other,
               bool existed) {
    if (other.kind() == kKindSplitLine) return false;
    if (r.kind() != kKindSplitLine || !existed) return true;
    return s.exists && r.date() != s.date && other.date() == s.date;
}

// Step 8 and 9: builds and saves the other side of a transfer and links both sides.
StoreStatus saveOtherSide(TransactionRecord& r, const StoredState& s) {
    TransactionRecord other;
    const bool existed = loadTransactionByIdentifier(other, r.link());
    const int32_t otherAccount = -r.category();
    other.changeI4(tx::kAccount, otherAccount);
    other.changeI4(tx::kCategory, -r.account());
    other.changeI4(tx::kPayee, r.payee());
    other.changeText(tx::kPayeeName, r.payeeName());
    other.changeI4(tx::kProject, r.project());
    for (PropertyNumber n : {tx::kText114, tx::kText115, tx::kSecondPayeeName, tx::kText138})
        other.changeText(n, r.text(n));
    other.changeI4(tx::kCleared, r.partnerCleared());
    if (takesDate(r, s, other, existed)) other.change64(tx::kDate, r.date());
    if (r.kind() == kKindSplitLine) other.changeI4(tx::kKind, kKindSplitTransfer);
    StoreStatus status = convertInto(other, r, otherAccount);
    if (status != StoreStatus::Ok) return status;
    if (!existed) other.markAllNonEmptySet();
    status = saveOne(other, SaveRole::OtherSide);
    if (status == StoreStatus::Ok && other.link() != r.identifier())
        status = writeOne(other, PropertyValue::string(tx::kLink, r.identifier()));
    if (status == StoreStatus::Ok && r.link() != other.identifier())
        status = writeOne(r, PropertyValue::string(tx::kLink, other.identifier()));
    if (status != StoreStatus::Ok) return status;
    r.setText(tx::kLink, other.identifier());
    r.clearSetFlag(tx::kLink);
    return StoreStatus::Ok;
}

// Step 10: a transfer that became a plain transaction loses its former other side.
StoreStatus dropFormerOtherSide(TransactionRecord& r, const std::u16string& link) {
    TransactionRecord former;
    if (loadTransactionByIdentifier(former, link) && former.kind() != kKindSplitOwner) {
        const StoreStatus deleted = deleteOne(former, false);
        if (deleted != StoreStatus::Ok) return deleted;
    }
    r.setText(tx::kLink, u"");
    return writeOne(r, PropertyValue::string(tx::kLink, u""));
}

bool balanceFieldsChanged(const TransactionRecord& r, const StoredState& s) {
    // Split lines sort outside their account's identifier range and never count toward a balance.
    if (r.kind() == kKindSplitLine) return false;
    return !s.exists || r.isSet(tx::kAmount) || r.isSet(tx::kExcluded) || r.isSet(tx::kAccount) ||
           r.isSet(tx::kDate) || r.identifier() != s.identifier;
}

// A new record that sorts after every record of its account gets its running balance with its other
// fields: the pass from it would only add its amount to the balance before it. False when the pass is
// needed after the write.
bool settleAppendedBalance(TransactionRecord& r, const StoredState& s) {
    const int32_t kind = r.kind();
    if (s.exists || isReservedAccount(r.account()) ||
        (kind != kKindPlain && kind != kKindSplitOwner && kind != kKindSplitTransfer))
        return false;
    Amount balance = 0;
    if (!Operation::balanceAfterAppending(r.account(), r.identifier(), r.amount(), r.i4(tx::kExcluded),
                                          balance))
        return false;
    r.set64(tx::kRunningBalance, static_cast<uint64_t>(balance));
    return true;
}

// A balance pass for an account missing from the Accounts table has logged it; the record stands.
StoreStatus passStatus(StoreStatus status) {
    return status == StoreStatus::AccountMissing ? StoreStatus::Ok : status;
}

// Step 11 for a Transactions record: balances, project totals and the change signal. appended: the
// record's running balance was settled with its write, only the account's balance is left.
StoreStatus afterTransactionWrite(const TransactionRecord& r, const StoredState& s, bool balancesChanged,
                                  bool appended) {
    StoreStatus status = StoreStatus::Ok;
    if (appended) {
        status = passStatus(Operation::settleAccountBalance(r.account(), r.runningBalance()));
    } else if (balancesChanged) {
        if (s.exists && s.account != r.account() && s.account > 0 && !isReservedAccount(s.account))
            status = passStatus(Operation::recalcBalanseFrom(s.account, s.identifier));
        if (status == StoreStatus::Ok && !isReservedAccount(r.account())) {
            std::u16string from = r.identifier();
            if (s.exists && s.account == r.account() && s.identifier < from) from = s.identifier;
            status = passStatus(Operation::recalcBalanseFrom(r.account(), from));
        }
    }
    if (status == StoreStatus::Ok) status = invalidateProjectTotals(r.project());
    if (status == StoreStatus::Ok && s.exists && s.project != r.project())
        status = invalidateProjectTotals(s.project);
    if (status != StoreStatus::Ok) return status;
    if (r.kind() == kKindGenerated)
        signalScheduledChanged();
    else
        signalTransactionsChanged();
    return StoreStatus::Ok;
}

StoreStatus onlyModificationPending(TransactionRecord& r) {
    if (!reachStored(r)) return StoreStatus::RecordMissing;
    std::vector<PropertyValue> values = {PropertyValue::i4(tx::kModifiedFlag, r.i4(tx::kModifiedFlag)),
                                         PropertyValue::date(tx::kModifiedStamp, nowUtc())};
    if (!tableOf(r).writeProperties(values)) return tableOf(r).writeFailure();
    r.markSaved(tableOf(r).position(), tableOf(r).changeGeneration());
    return StoreStatus::Ok;
}

// The table in its order and, for a stored record, what the store holds for it.
StoreStatus prepareStored(TransactionRecord& r, StoredState& s) {
    TableCursor& table = tableOf(r);
    const bool sorted = r.source() == RecordSource::Planner
                            ? table.ensureSort(tx::kScheduleNumber, SortKind::I4)
                            : table.ensureSort(tx::kIdentifier, SortKind::String);
    if (!sorted) return StoreStatus::RecordUnreachable;
    if (!r.isStored()) return StoreStatus::Ok;
    if (!reachStored(r)) return StoreStatus::RecordMissing;
    s = readStored(table);
    return StoreStatus::Ok;
}

// A scheduled item's date as shown and edited is its next occurrence (253): a changed date of a stored
// item is written there. A new item without a next occurrence starts at its date.
void preparePlanner(TransactionRecord& r, const StoredState& s) {
    if (!s.exists) {
        r.setI4(tx::kScheduleNumber, static_cast<int32_t>(nextScheduleNumber()));
        if (r.value64(tx::kNextOccurrence) == 0 && r.date() != 0) r.set64(tx::kNextOccurrence, r.date());
        return;
    }
    if (!r.isSet(tx::kDate)) return;
    r.set64(tx::kNextOccurrence, r.date());
    r.clearSetFlag(tx::kDate);
}

// The identifier, and the fields that follow from the identifier, account and date of a Transactions record.
StoreStatus prepareTransaction(TransactionRecord& r, const StoredState& s, SaveRole role) {
    if (s.exists && !reachStored(r)) return StoreStatus::ReindexNeeded;
    StoreStatus status = settleIdentifier(r, s, role);
    if (status == StoreStatus::Ok) status = adoptStoredLinesIfMoved(r, s);
    if (status != StoreStatus::Ok) return status;
    if (r.isSet(tx::kProject) || r.isSet(tx::kDate) || r.isSet(tx::kAccount) || !s.exists) {
        std::u16string projectKey = projectKeyOf(r);
        if (projectKey != r.text(tx::kProjectKey)) r.setText(tx::kProjectKey, projectKey);
    }
    // A new amount given without a new entered amount: the stored one no longer describes the record.
    if (s.exists && r.amount() != s.amount && !r.isSet(tx::kEnteredAmount) &&
        !r.isSet(tx::kEnteredCurrency) && !r.isSet(tx::kRate))
        r.clearEnteredAmount();
    return StoreStatus::Ok;
}

// After the record's own write: its split lines, the other side of a transfer, and
// the former other side of a transfer that is no longer one.
StoreStatus writeDependants(TransactionRecord& r, const StoredState& s, SaveRole role) {
    StoreStatus status = StoreStatus::Ok;
    if (r.hasSplitList() && (r.kind() == kKindSplitOwner || s.kind == kKindSplitOwner))
        status = saveSplitLines(r, s);
    if (status == StoreStatus::Ok && role != SaveRole::OtherSide && r.kind() != kKindGenerated &&
        r.category() < 0)
        status = saveOtherSide(r, s);
    if (status == StoreStatus::Ok && s.exists && s.category < 0 && r.category() >= 0 && !s.link.empty())
        status = dropFormerOtherSide(r, s.link);
    return status;
}

}  // namespace

StoreStatus saveOne(TransactionRecord& r, SaveRole role) {
    if (r.source() == RecordSource::Scheduled) return StoreStatus::InvalidRecord;
    // An identifier holds a four-digit year: a date past 9999 could make none that sorts in its place.
    if (r.date() > kLastDate) return StoreStatus::OutOfRange;
    if (r.isStored() && !r.anythingSet())
        return r.pendingModificationFlag() ? onlyModificationPending(r) : StoreStatus::Ok;
    StoredState s;
    StoreStatus status = prepareStored(r, s);
    if (status != StoreStatus::Ok) return status;
    settleCategoryAndKind(r, s);
    const bool planner = r.source() == RecordSource::Planner;
    if (planner)
        preparePlanner(r, s);
    else
        status = prepareTransaction(r, s, role);
    if (status != StoreStatus::Ok) return status;
    if (r.key().empty()) r.setText(tx::kKey, newRecordKeyText());
    r.setI4(tx::kModifiedFlag, -1);
    r.set64(tx::kModifiedStamp, nowUtc());
    const bool balancesChanged = !planner && balanceFieldsChanged(r, s);
    const bool appended = balancesChanged && settleAppendedBalance(r, s);
    status = writeFields(r, s);
    if (status == StoreStatus::Ok && !planner) status = writeDependants(r, s, role);
    if (status != StoreStatus::Ok) return status;
    if (planner)
        signalScheduledChanged();
    else
        status = afterTransactionWrite(r, s, balancesChanged, appended);
    if (status != StoreStatus::Ok) return status;
    if (!reachStored(r)) return StoreStatus::RecordUnreachable;
    r.markSaved(tableOf(r).position(), tableOf(r).changeGeneration());
    return StoreStatus::Ok;
}

}  // namespace dove::detail

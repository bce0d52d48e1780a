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
#include "UserMessage.h"

namespace dove::detail {
namespace {

const char16_t* const kReindexMessage =
    u"Error 1154.\nPlease make Reindex Database.\n\nRun Brimwell and press Reset Button and Run Brimwell "
    u"again after reload device.";

bool isReservedAccount(int32_t account) {
    return account >= tx::kDeletedOccurrencesAccount;
}

Amount negated(Amount value) {
    return value == INT64_MIN ? INT64_MAX : -value;
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

// Step 6: the identifier of a Transactions record.
bool settleIdentifier(TransactionRecord& r, const StoredState& s, SaveRole role) {
    std::u16string id;
    const int32_t kind = r.kind();
    if (kind == kKindSplitLine) {
        if (s.exists && role != SaveRole::LineOfOwner && (r.account() != s.account || r.date() != s.date)) {
            // A split line follows its owner; moved on its own it would lose it, so it stays.
            r.setAccount(s.account);
            r.setDate(s.date);
            r.clearSetFlag(tx::kAccount);
            r.clearSetFlag(tx::kDate);
        }
        if (r.account() < 1) return false;
        id = splitIdentifier(static_cast<uint32_t>(r.account()), r.date(), r.sequence());
    } else if (kind == kKindGenerated) {
        id = scheduledInstanceIdentifier(static_cast<uint32_t>(r.i4(tx::kScheduleNumber)), r.sequence());
    } else if (kind == kKindPlain || kind == kKindSplitOwner || kind == kKindSplitTransfer) {
        const bool accountChanged = !s.exists || r.account() != s.account;
        const bool dateChanged = !s.exists || r.date() != s.date;
        if (!accountChanged && dateChanged && sameDay(r.date(), s.date)) {
            // Only the time moved within the day: the stored date and time stay.
            r.setDate(s.date);
            r.clearSetFlag(tx::kDate);
        }
        if (accountChanged || r.date() != s.date) {
            Date d = r.date();
            auto unique =
                makeUniqueTransactionIdentifier(static_cast<uint32_t>(std::max(r.account(), 0)), &d);
            if (!unique) return false;
            id = *unique;
            r.setDate(d);
        } else {
            id = transactionIdentifier(static_cast<uint32_t>(s.account), s.date);
        }
    } else {
        return false;
    }
    if (id != r.identifier()) r.setText(tx::kIdentifier, id);
    return true;
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
bool writeFields(TransactionRecord& r, const StoredState& s) {
    TableCursor& table = tableOf(r);
    const bool budgets = r.source() == RecordSource::Transactions && budgetFieldsChanged(r);
    if (s.exists && budgets && !takeOutOfBudget(contributionOf(s.category, s.amount, s.currency, s.date)))
        return false;
    if (s.exists) {
        if (!reachStored(r, r.source() == RecordSource::Planner ? nullptr : &s.identifier)) {
            showUserMessage(u"Error 1154-1", u"Brimwell Dashel");
            return false;
        }
        if (!table.writeProperties(r.setValues())) return false;
    } else if (table.addRecord(r.setValues()) == 0) {
        return false;
    }
    r.assignPosition(table.position());
    if (budgets && !putIntoBudget(contributionOf(r.category(), r.amount(), r.currency(), r.date())))
        return false;
    return true;
}

// Writes one property of a stored record, committed.
bool writeOne(TransactionRecord& r, PropertyValue value) {
    if (!reachStored(r) || !tableOf(r).writeProperties({value})) return false;
    r.assignPosition(tableOf(r).position());
    return true;
}

// The other side's amount: this record's amount in the other account's currency, negated.
void convertInto(TransactionRecord& other, const TransactionRecord& r, int32_t otherAccount) {
    std::u16string from = r.currency().empty() ? accountCurrency(r.account()) : r.currency();
    std::u16string to = accountCurrency(otherAccount);
    if (to.empty()) to = from;
    const double rate = from == to ? 1.0 : currencyCache().getRate(from, to, r.date());
    other.change64(tx::kAmount,
                   static_cast<uint64_t>(negated(amountFromReal(static_cast<double>(r.amount()) * rate))));
    other.changeText(tx::kCurrency, to);
    if (from == to) return;
    other.change64(tx::kEnteredAmount, static_cast<uint64_t>(negated(r.amount())));
    other.changeText(tx::kEnteredCurrency, from);
    uint64_t bits = 0;
    std::memcpy(&bits, &rate, sizeof bits);
    other.change64(tx::kRate, bits);
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
bool saveOtherSide(TransactionRecord& r, const StoredState& s) {
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
    convertInto(other, r, otherAccount);
    if (!existed) other.markAllNonEmptySet();
    if (!saveOne(other, SaveRole::OtherSide)) return false;
    if (other.link() != r.identifier() && !writeOne(other, PropertyValue::string(tx::kLink, r.identifier())))
        return false;
    if (r.link() != other.identifier() && !writeOne(r, PropertyValue::string(tx::kLink, other.identifier())))
        return false;
    r.setText(tx::kLink, other.identifier());
    r.clearSetFlag(tx::kLink);
    return true;
}

// Step 10: a transfer that became a plain transaction loses its former other side.
bool dropFormerOtherSide(const std::u16string& link) {
    TransactionRecord former;
    if (!loadTransactionByIdentifier(former, link)) return true;
    if (former.kind() == kKindSplitOwner) return true;
    return deleteOne(former, false);
}

// Brings the stored split lines in line with the owner's split list.
bool saveSplitLines(TransactionRecord& owner, const StoredState& s) {
    std::vector<std::u16string> stale;
    if (s.exists) stale = storedSplitIdentifiers(s.account, s.date);
    int32_t sequence = 0;
    for (TransactionRecord& line : owner.splits())
        sequence = std::max(sequence, line.sequence());
    for (TransactionRecord& line : owner.splits()) {
        stale.erase(std::remove(stale.begin(), stale.end(), line.identifier()), stale.end());
        line.changeI4(tx::kKind, kKindSplitLine);
        line.changeI4(tx::kAccount, owner.account());
        line.change64(tx::kDate, owner.date());
        if (line.sequence() == 0) line.setSequence(++sequence);
        if (!line.isStored()) line.markAllNonEmptySet();
        if (!saveOne(line, SaveRole::LineOfOwner)) return false;
    }
    for (const std::u16string& id : stale) {
        TransactionRecord line;
        if (loadTransactionByIdentifier(line, id) && !deleteOne(line, true)) return false;
    }
    return true;
}

// A split owner that moves to another account or date takes its stored lines along even when the caller
// never loaded them: their identifiers are made from the owner's.
bool adoptStoredLinesIfMoved(TransactionRecord& r, const StoredState& s) {
    if (!s.exists || s.kind != kKindSplitOwner || r.hasSplitList()) return true;
    if (r.account() == s.account && r.date() == s.date) return true;
    std::vector<TransactionRecord> lines;
    for (const std::u16string& id : storedSplitIdentifiers(s.account, s.date)) {
        TransactionRecord line;
        if (!loadTransactionByIdentifier(line, id)) return false;
        lines.push_back(std::move(line));
    }
    r.adoptSplits(std::move(lines));
    return reachStored(r, &s.identifier);
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

// Step 11 for a Transactions record: balances, project totals and the change signal. appended: the
// record's running balance was settled with its write, only the account's balance is left.
void afterTransactionWrite(const TransactionRecord& r, const StoredState& s, bool balancesChanged,
                           bool appended) {
    if (appended) {
        Operation::settleAccountBalance(r.account(), r.runningBalance());
    } else if (balancesChanged) {
        if (s.exists && s.account != r.account() && s.account > 0 && !isReservedAccount(s.account))
            Operation::recalcBalanseFrom(s.account, s.identifier);
        if (!isReservedAccount(r.account())) {
            std::u16string from = r.identifier();
            if (s.exists && s.account == r.account() && s.identifier < from) from = s.identifier;
            Operation::recalcBalanseFrom(r.account(), from);
        }
    }
    invalidateProjectTotals(r.project());
    if (s.exists && s.project != r.project()) invalidateProjectTotals(s.project);
    if (r.kind() == kKindGenerated)
        signalScheduledChanged();
    else
        signalTransactionsChanged();
}

bool onlyModificationPending(TransactionRecord& r) {
    if (!reachStored(r)) return false;
    std::vector<PropertyValue> values = {PropertyValue::i4(tx::kModifiedFlag, r.i4(tx::kModifiedFlag)),
                                         PropertyValue::date(tx::kModifiedStamp, nowUtc())};
    if (!tableOf(r).writeProperties(values)) return false;
    r.markSaved(tableOf(r).position(), tableOf(r).changeGeneration());
    return true;
}

bool prepareStored(TransactionRecord& r, StoredState& s) {
    TableCursor& table = tableOf(r);
    if (r.source() == RecordSource::Planner) {
        if (!table.ensureSort(tx::kScheduleNumber, SortKind::I4)) return false;
    } else if (!table.ensureSort(tx::kIdentifier, SortKind::String)) {
        return false;
    }
    if (!r.isStored()) return true;
    if (!reachStored(r)) return false;
    s = readStored(table);
    return true;
}

}  // namespace

bool saveOne(TransactionRecord& r, SaveRole role) {
    if (r.source() == RecordSource::Scheduled) return false;
    if (r.isStored() && !r.anythingSet()) return !r.pendingModificationFlag() || onlyModificationPending(r);
    StoredState s;
    if (!prepareStored(r, s)) return false;
    settleCategoryAndKind(r, s);
    const bool planner = r.source() == RecordSource::Planner;
    if (planner && !s.exists) r.setI4(tx::kScheduleNumber, static_cast<int32_t>(nextScheduleNumber()));
    if (!planner) {
        if (s.exists && !reachStored(r)) {
            showUserMessage(kReindexMessage, u"Brimwell Dashel");
            return false;
        }
        if (!settleIdentifier(r, s, role) || !adoptStoredLinesIfMoved(r, s)) return false;
        if (r.isSet(tx::kProject) || r.isSet(tx::kDate) || r.isSet(tx::kAccount) || !s.exists) {
            std::u16string projectKey = projectKeyOf(r);
            if (projectKey != r.text(tx::kProjectKey)) r.setText(tx::kProjectKey, projectKey);
        }
    }
    if (r.key().empty()) r.setText(tx::kKey, newRecordKeyText());
    r.setI4(tx::kModifiedFlag, -1);
    r.set64(tx::kModifiedStamp, nowUtc());
    const bool balancesChanged = !planner && balanceFieldsChanged(r, s);
    const bool appended = balancesChanged && settleAppendedBalance(r, s);
    if (!writeFields(r, s)) return false;
    if (!planner && r.hasSplitList() && (r.kind() == kKindSplitOwner || s.kind == kKindSplitOwner) &&
        !saveSplitLines(r, s))
        return false;
    if (!planner && role != SaveRole::OtherSide && r.kind() != kKindGenerated && r.category() < 0 &&
        !saveOtherSide(r, s))
        return false;
    if (!planner && s.exists && s.category < 0 && r.category() >= 0 && !s.link.empty()) {
        if (!dropFormerOtherSide(s.link)) return false;
        if (!r.link().empty()) r.setText(tx::kLink, u"");
        if (!r.link().empty() || r.isSet(tx::kLink)) writeOne(r, PropertyValue::string(tx::kLink, u""));
    }
    if (planner)
        signalScheduledChanged();
    else
        afterTransactionWrite(r, s, balancesChanged, appended);
    if (!reachStored(r)) return false;
    r.markSaved(tableOf(r).position(), tableOf(r).changeGeneration());
    return true;
}

}  // namespace dove::detail

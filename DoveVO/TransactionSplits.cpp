// The split lines of a split owner during its save: bringing the stored lines in line with the owner's
// split list (stale lines deleted first, new lines numbered above every line the owner ever had in the
// store), and taking the stored lines along when the owner moves to another account or date.
#include <algorithm>
#include <set>

#include "TransactionSteps.h"
#include "TransactionStore.h"

namespace dove::detail {
namespace {

constexpr int32_t kLastSequence = 9999;  // the identifier holds the sequence in four digits

// The sequence number at the end of a split identifier.
int32_t sequenceOf(const std::u16string& splitId) {
    int32_t value = 0;
    for (size_t i = splitId.size() >= 4 ? splitId.size() - 4 : 0; i < splitId.size(); ++i)
        value = value * 10 + (splitId[i] >= u'0' && splitId[i] <= u'9' ? splitId[i] - u'0' : 0);
    return value;
}

// Numbers for the new lines of the list: above every sequence the owner's stored lines and the list's
// lines hold, so that a new line never takes the identifier of a line still stored or just dropped.
// Past the four digits the lowest numbers no line of the list holds are used (the dropped lines are
// deleted before any new line is written). False when no number is left.
bool numberNewLines(std::vector<TransactionRecord>& lines, const std::vector<std::u16string>& stored) {
    int32_t highest = 0;
    std::set<int32_t> used;
    for (const std::u16string& id : stored)
        highest = std::max(highest, sequenceOf(id));
    for (const TransactionRecord& line : lines) {
        highest = std::max(highest, line.sequence());
        if (line.sequence() != 0) used.insert(line.sequence());
    }
    int32_t lowest = 0;
    for (TransactionRecord& line : lines) {
        if (line.isStored() || line.sequence() != 0) continue;
        int32_t next = highest < kLastSequence ? ++highest : 0;
        while (next == 0 && ++lowest <= kLastSequence)
            if (used.count(lowest) == 0) next = lowest;
        if (next == 0) return false;
        used.insert(next);
        line.setSequence(next);
    }
    return true;
}

// The stored lines that the list no longer holds; DuplicateIdentifier when the list holds one stored
// line twice (both copies would be written to the one record).
StoreStatus staleLines(const std::vector<TransactionRecord>& lines, std::vector<std::u16string> stored,
                       std::vector<std::u16string>& stale) {
    std::set<std::u16string> kept;
    for (const TransactionRecord& line : lines) {
        if (!line.isStored()) continue;
        if (!kept.insert(line.identifier()).second) return StoreStatus::DuplicateIdentifier;
    }
    for (std::u16string& id : stored)
        if (kept.count(id) == 0) stale.push_back(std::move(id));
    return StoreStatus::Ok;
}

}  // namespace

StoreStatus saveSplitLines(TransactionRecord& owner, const StoredState& s) {
    std::vector<std::u16string> stored;
    if (s.exists) stored = storedSplitIdentifiers(s.account, s.date);
    std::vector<std::u16string> stale;
    StoreStatus status = staleLines(owner.splits(), stored, stale);
    if (status != StoreStatus::Ok) return status;
    if (!numberNewLines(owner.splits(), stored)) return StoreStatus::InvalidRecord;
    // The dropped lines go first, with their transfer counterparts and budget amounts.
    for (const std::u16string& id : stale) {
        TransactionRecord line;
        if (!loadTransactionByIdentifier(line, id)) continue;
        status = deleteOne(line, true);
        if (status != StoreStatus::Ok) return status;
    }
    for (TransactionRecord& line : owner.splits()) {
        line.changeI4(tx::kKind, kKindSplitLine);
        line.changeI4(tx::kAccount, owner.account());
        line.change64(tx::kDate, owner.date());
        if (!line.isStored()) line.markAllNonEmptySet();
        status = saveOne(line, SaveRole::LineOfOwner);
        if (status != StoreStatus::Ok) return status;
    }
    return StoreStatus::Ok;
}

StoreStatus adoptStoredLinesIfMoved(TransactionRecord& r, const StoredState& s) {
    if (!s.exists || s.kind != kKindSplitOwner || r.hasSplitList()) return StoreStatus::Ok;
    if (r.account() == s.account && r.date() == s.date) return StoreStatus::Ok;
    std::vector<TransactionRecord> lines;
    for (const std::u16string& id : storedSplitIdentifiers(s.account, s.date)) {
        TransactionRecord line;
        if (!loadTransactionByIdentifier(line, id)) return StoreStatus::RecordMissing;
        lines.push_back(std::move(line));
    }
    r.adoptSplits(std::move(lines));
    return reachStored(r, &s.identifier) ? StoreStatus::Ok : StoreStatus::ReindexNeeded;
}

}  // namespace dove::detail

// Putting the journal's entries in an order that keeps every account's running balances in identifier
// order, and balancing an entry's postings.
#include <algorithm>
#include <map>
#include <queue>
#include <tuple>

#include "JournalEntry.h"
#include "StoreSnapshot.h"

namespace financestore {
namespace {

using Key = std::tuple<dove::Date, std::u16string, size_t>;

Key keyOf(const std::vector<JournalEntry>& entries, size_t i) {
    return {entries[i].date, entries[i].identifier, i};
}

// The dependencies between entries: each record of an account waits for the entry of the record before
// it in that account. Returns, per entry, the entries waiting for it and its count of waits.
void dependencies(const std::vector<JournalEntry>& entries, std::vector<std::vector<size_t>>& waiting,
                  std::vector<int>& waits) {
    std::map<int32_t, std::vector<std::pair<std::u16string, size_t>>> chains;
    for (size_t i = 0; i < entries.size(); ++i)
        for (const JournalSide& side : entries[i].sides)
            chains[side.first].emplace_back(side.second, i);
    waiting.assign(entries.size(), {});
    waits.assign(entries.size(), 0);
    for (auto& [account, chain] : chains) {
        std::sort(chain.begin(), chain.end());
        for (size_t k = 1; k < chain.size(); ++k) {
            if (chain[k - 1].second == chain[k].second) continue;
            waiting[chain[k - 1].second].push_back(chain[k].second);
            ++waits[chain[k].second];
        }
    }
}

// Moves every entry that can go, earliest first, from entries to out; the rest is left in entries.
void emitReady(std::vector<JournalEntry>& entries, std::vector<JournalEntry>& out) {
    std::vector<std::vector<size_t>> waiting;
    std::vector<int> waits;
    dependencies(entries, waiting, waits);
    std::priority_queue<Key, std::vector<Key>, std::greater<Key>> ready;
    for (size_t i = 0; i < entries.size(); ++i)
        if (waits[i] == 0) ready.push(keyOf(entries, i));
    std::vector<bool> done(entries.size(), false);
    while (!ready.empty()) {
        const size_t i = std::get<2>(ready.top());
        ready.pop();
        done[i] = true;
        out.push_back(std::move(entries[i]));
        for (size_t next : waiting[i])
            if (--waits[next] == 0) ready.push(keyOf(entries, next));
    }
    std::vector<JournalEntry> rest;
    for (size_t i = 0; i < entries.size(); ++i)
        if (!done[i]) rest.push_back(std::move(entries[i]));
    entries = std::move(rest);
}

}  // namespace

std::vector<JournalEntry> orderJournal(std::vector<JournalEntry> entries) {
    std::vector<JournalEntry> out;
    out.reserve(entries.size());
    for (;;) {
        emitReady(entries, out);
        if (entries.empty()) return out;
        // A cycle: the earliest entry that has parts is written as its parts, which wait for nothing but
        // their own accounts.
        size_t split = entries.size();
        for (size_t i = 0; i < entries.size(); ++i)
            if (!entries[i].parts.empty() &&
                (split == entries.size() || keyOf(entries, i) < keyOf(entries, split)))
                split = i;
        if (split == entries.size()) {
            // Cannot happen with entries of one record each; written in date order rather than lost.
            std::sort(entries.begin(), entries.end(), [](const JournalEntry& a, const JournalEntry& b) {
                return std::tie(a.date, a.identifier) < std::tie(b.date, b.identifier);
            });
            for (JournalEntry& entry : entries)
                out.push_back(std::move(entry));
            return out;
        }
        std::vector<JournalEntry> parts = std::move(entries[split].parts);
        entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(split));
        for (JournalEntry& part : parts)
            entries.push_back(std::move(part));
    }
}

void balanceThrough(std::vector<JournalPosting>& postings, const std::string& account) {
    std::map<std::u16string, dove::Amount> sums;
    for (const JournalPosting& p : postings) {
        // Damaged records may hold any amount: the sums wrap rather than overflow.
        dove::Amount& sum = sums[p.hasCost() ? p.costCommodity : p.commodity];
        if (p.hasCost())
            sum = wrappedSum(sum, p.amount < 0 ? wrappedNegation(p.cost) : p.cost);
        else
            sum = wrappedSum(sum, p.amount);
    }
    for (const auto& [commodity, sum] : sums) {
        if (sum == 0) continue;
        JournalPosting balancing;
        balancing.account = account;
        balancing.amount = wrappedNegation(sum);
        balancing.commodity = commodity;
        postings.push_back(balancing);
    }
}

}  // namespace financestore

// The journal's entries, built from the records of the store.
#include "JournalBuilder.h"

#include <algorithm>
#include <cstring>

#include "Categories.h"
#include "Identifiers.h"
#include "TransactionRecord.h"
#include "platform/device.h"

namespace financestore {
namespace {

constexpr size_t kNone = static_cast<size_t>(-1);
constexpr const char* kUnbalancedAccount = "Equity:Unbalanced";
constexpr const char* kUnmatchedAccount = "Equity:Unmatched transfers";

bool isReserved(int32_t account) {
    return account >= dove::tx::kDeletedOccurrencesAccount;
}

dove::Amount magnitude(dove::Amount amount) {
    return amount < 0 ? wrappedNegation(amount) : amount;
}

bool sameDay(dove::Date a, dove::Date b) {
    return dove::compareDates(a, b, dove::kCompareDays) == 0;
}

}  // namespace

std::string journalText(const std::u16string& text) {
    std::string out;
    for (char c : platform::toUtf8(text)) {
        if (c == '\t' || c == '\n' || c == '\r' || c == ';') c = c == ';' ? ',' : ' ';
        if (c == ' ' && (out.empty() || out.back() == ' ')) continue;
        out += c;
    }
    while (!out.empty() && out.back() == ' ')
        out.pop_back();
    // A leading bracket or parenthesis would make the account a virtual one.
    while (!out.empty() && (out[0] == '(' || out[0] == '['))
        out.erase(0, 1);
    return out;
}

JournalBuilder::JournalBuilder(const StoreSnapshot& snapshot, int32_t onlyAccount)
    : m_s(snapshot), m_only(onlyAccount) {
    std::map<std::string, int> uses;
    for (const AccountRow& a : m_s.accounts)
        ++uses[journalText(a.name)];
    for (const AccountRow& a : m_s.accounts) {
        std::string name = journalText(a.name);
        // Two accounts of one name (or none) are told apart by their numbers.
        if (name.empty() || uses[name] > 1)
            name += (name.empty() ? "Account " : " ") + std::to_string(a.number);
        m_accountNames[a.number] = "Assets:" + name;
    }
}

std::string JournalBuilder::accountName(int32_t account) const {
    auto it = m_accountNames.find(account);
    return it != m_accountNames.end() ? it->second : "Assets:Account " + std::to_string(account);
}

std::u16string JournalBuilder::commodityOf(int32_t account, const TransactionRow& record) const {
    const AccountRow* row = m_s.account(account);
    return row != nullptr && !row->currency.empty() ? row->currency : record.currency;
}

size_t JournalBuilder::root(size_t i) {
    while (m_parent[i] != i)
        i = m_parent[i] = m_parent[m_parent[i]];
    return i;
}

void JournalBuilder::join(size_t a, size_t b) {
    m_parent[root(a)] = root(b);
}

// Split lines join their owner; the two sides of a transfer (each linking the other) join each other.
void JournalBuilder::tieRecords() {
    const auto& rows = m_s.transactions;
    m_parent.resize(rows.size());
    m_skip.assign(rows.size(), false);
    for (size_t i = 0; i < rows.size(); ++i) {
        m_parent[i] = i;
        m_skip[i] = isReserved(rows[i].account);
    }
    for (size_t i = 0; i < rows.size(); ++i) {
        if (m_skip[i]) continue;
        if (rows[i].kind == dove::kKindSplitLine) {
            auto owner = m_s.byIdentifier.find(dove::splitOwnerIdentifier(rows[i].id));
            if (owner != m_s.byIdentifier.end() && rows[owner->second].kind == dove::kKindSplitOwner)
                join(i, owner->second);
        }
        const size_t partner = partnerOf(i);
        if (partner != kNone && !m_skip[partner]) join(i, partner);
    }
}

size_t JournalBuilder::partnerOf(size_t i) const {
    const TransactionRow& r = m_s.transactions[i];
    if (r.link.empty()) return kNone;
    auto it = m_s.byIdentifier.find(r.link);
    if (it == m_s.byIdentifier.end() || it->second == i || m_s.transactions[it->second].link != r.id)
        return kNone;
    return it->second;
}

// A record counts toward its account's balance when it is not excluded and stands in its account's
// identifier range (which split lines and generated records do not).
bool JournalBuilder::countsToBalance(const TransactionRow& r) const {
    const std::u16string start = dove::accountStartKey(static_cast<uint32_t>(r.account));
    return r.excluded == 0 && r.account > 0 && r.id.compare(0, start.size(), start) == 0;
}

// Records that do not count toward a balance post to accounts of their own tree.
std::string JournalBuilder::prefixOf(const TransactionRow& r) const {
    if (countsToBalance(r)) return "";
    if (r.excluded != 0) return "Excluded:";
    return r.kind == dove::kKindGenerated ? "Scheduled:" : "Unlisted:";
}

std::string JournalBuilder::categoryAccount(int32_t category) {
    if (category == 0) return "Uncategorized";
    auto cached = m_categoryNames.find(category);
    if (cached != m_categoryNames.end()) return cached->second;
    std::string name = journalText(dove::categoryFullName(category));
    if (name.empty()) name = "Category " + std::to_string(category);
    name = (dove::categoryType(category) == dove::category::kIncome ? "Income:" : "Expenses:") + name;
    m_categoryNames[category] = name;
    return name;
}

JournalPosting JournalBuilder::accountPosting(size_t i) {
    const TransactionRow& r = m_s.transactions[i];
    JournalPosting p;
    p.account = prefixOf(r) + accountName(r.account);
    p.amount = r.amount;
    p.commodity = commodityOf(r.account, r);
    if (r.excluded != 0) p.notes.push_back("excluded: yes");
    if (!r.security.empty()) {
        p.notes.push_back("security: " + journalText(r.security));
        p.notes.push_back("units: " + std::to_string(r.units));
    }
    if (countsToBalance(r) && (m_only == 0 || m_only == r.account)) {
        p.balanceAccount = r.account;
        p.hasStoredBalance = r.hasBalance;
        p.storedBalance = r.balance;
    }
    // The later side of a transfer between two currencies states what the other side gave for it.
    const size_t partner = partnerOf(i);
    if (partner == kNone) return p;
    const TransactionRow& o = m_s.transactions[partner];
    const bool otherIsLine = o.kind == dove::kKindSplitLine;
    if (!otherIsLine && o.id > r.id) return p;
    std::u16string otherCommodity = o.currency;
    if (otherIsLine) {
        auto owner = m_s.byIdentifier.find(dove::splitOwnerIdentifier(o.id));
        if (owner != m_s.byIdentifier.end())
            otherCommodity = commodityOf(o.account, m_s.transactions[owner->second]);
    } else {
        otherCommodity = commodityOf(o.account, o);
    }
    if (otherCommodity == p.commodity) return p;
    p.cost = magnitude(o.amount);
    p.costCommodity = otherCommodity;
    p.pairCost = true;
    return p;
}

// The postings that balance a record within its own part: its category (in the currency it was entered
// in, at the cost it came to), or its split lines' categories; nothing for a transfer whose other side
// is in the entry.
void JournalBuilder::addCategoryPostings(size_t i, const std::vector<size_t>& members, JournalEntry& part) {
    const TransactionRow& r = m_s.transactions[i];
    const std::string prefix = prefixOf(r);
    const std::u16string commodity = commodityOf(r.account, r);
    auto post = [&](size_t record, const TransactionRow& row) {
        JournalPosting p;
        p.commodity = commodity;
        p.amount = wrappedNegation(row.amount);
        if (row.category < 0) {
            const size_t partner = partnerOf(record);
            if (partner != kNone && !m_skip[partner]) return;
            p.account = kUnmatchedAccount;
        } else {
            p.account = prefix + categoryAccount(row.category);
        }
        if (&row == &r && !r.enteredCurrency.empty() && r.enteredCurrency != commodity && r.entered != 0) {
            p.amount = wrappedNegation(r.entered);
            p.commodity = r.enteredCurrency;
            p.cost = magnitude(r.amount);
            p.costCommodity = commodity;
            char rate[40];
            std::snprintf(rate, sizeof rate, "rate: %.10g", r.rate);
            if (r.hasRate && std::strpbrk(rate, "ni") == nullptr) p.notes.push_back(rate);
        }
        part.postings.push_back(p);
    };
    bool lines = false;
    if (r.kind == dove::kKindSplitOwner) {
        for (size_t m : members) {
            const TransactionRow& line = m_s.transactions[m];
            if (line.kind != dove::kKindSplitLine || dove::splitOwnerIdentifier(line.id) != r.id) continue;
            post(m, line);
            lines = true;
        }
    }
    if (!lines) post(i, r);
}

JournalEntry JournalBuilder::partOf(size_t i, const std::vector<size_t>& members) {
    const TransactionRow& r = m_s.transactions[i];
    JournalEntry part;
    part.date = r.date;
    part.identifier = r.id;
    part.cleared = r.cleared != 0;
    part.payee = journalText(r.payeeName);
    if (part.payee.empty()) part.payee = r.category < 0 ? "Transfer" : "No payee";
    JournalPosting own = accountPosting(i);
    if (own.balanceAccount != 0) part.sides.emplace_back(r.account, r.id);
    part.postings.push_back(std::move(own));
    addCategoryPostings(i, members, part);
    return part;
}

// One entry of the records tied together, in the date and payee of the first of them; false when
// nothing of it is to be written.
bool JournalBuilder::buildEntry(const std::vector<size_t>& members, JournalEntry& entry) {
    std::vector<JournalEntry> parts;
    bool touches = m_only == 0;
    for (size_t m : members) {
        const TransactionRow& r = m_s.transactions[m];
        if (r.account == m_only) touches = true;
        if (r.kind != dove::kKindSplitLine) parts.push_back(partOf(m, members));
    }
    if (parts.empty()) {
        for (size_t m : members)
            m_skipped.push_back(m_s.transactions[m].id);
        return false;
    }
    if (!touches) return false;
    entry = parts.front();
    entry.postings.clear();
    entry.sides.clear();
    for (JournalEntry& part : parts) {
        for (JournalPosting& p : part.postings)
            if (!sameDay(part.date, entry.date)) p.date = part.date;
        entry.postings.insert(entry.postings.end(), part.postings.begin(), part.postings.end());
        entry.sides.insert(entry.sides.end(), part.sides.begin(), part.sides.end());
    }
    balanceThrough(entry.postings, kUnbalancedAccount);
    if (parts.size() < 2) return true;
    for (JournalEntry& part : parts) {
        for (JournalPosting& p : part.postings) {
            if (!p.pairCost) continue;
            p.pairCost = false;
            p.cost = 0;
            p.costCommodity.clear();
        }
        balanceThrough(part.postings, kTransitAccount);
    }
    entry.parts = std::move(parts);
    return true;
}

std::vector<JournalEntry> JournalBuilder::entries() {
    tieRecords();
    std::map<size_t, std::vector<size_t>> groups;
    for (size_t i = 0; i < m_s.transactions.size(); ++i)
        if (!m_skip[i]) groups[root(i)].push_back(i);
    std::vector<std::pair<size_t, std::vector<size_t>>> ordered;
    for (auto& [rootIndex, members] : groups)
        ordered.emplace_back(members.front(), std::move(members));
    std::sort(ordered.begin(), ordered.end());
    std::vector<JournalEntry> out;
    for (const auto& [first, members] : ordered) {
        JournalEntry entry;
        if (buildEntry(members, entry)) out.push_back(std::move(entry));
    }
    return out;
}

}  // namespace financestore

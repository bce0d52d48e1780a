// Writing the journal: declarations, opening balances, the entries in journal order with the stored
// running balances as balance assertions, and the export command.
#include "LedgerExport.h"

#include <algorithm>
#include <map>
#include <set>

#include "Accounts.h"
#include "JournalBuilder.h"
#include "ValueParsing.h"
#include "platform/device.h"

namespace financestore {
namespace {

constexpr const char* kOpeningAccount = "Equity:Opening balances";
constexpr const char* const kTags[] = {"excluded", "rate", "security", "units"};

std::string dayText(dove::Date date) {
    const SYSTEMTIME t = dove::dateFields(date);
    char text[32];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u", t.wYear, t.wMonth, t.wDay);
    return text;
}

// A commodity of letters stands as it is; any other is quoted.
std::string commodityText(const std::u16string& code) {
    const std::string text = platform::toUtf8(code);
    const bool plain = std::all_of(text.begin(), text.end(),
                                   [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); });
    return plain ? text : "\"" + journalText(code) + "\"";
}

std::string amountWith(dove::Amount amount, const std::u16string& commodity) {
    return commodity.empty() ? amountText(amount) : amountText(amount) + " " + commodityText(commodity);
}

class JournalWriter {
  public:
    JournalWriter(const StoreSnapshot& s, int32_t only, std::FILE* out) : m_s(s), m_only(only), m_out(out) {}
    void write();

  private:
    void declare(const std::vector<JournalEntry>& entries);
    void writeOpenings(dove::Date date);
    void writeEntry(const JournalEntry& e);
    void writePosting(const JournalPosting& p);

    const StoreSnapshot& m_s;
    int32_t m_only;
    std::FILE* m_out;
    JournalBuilder m_builder{m_s, m_only};
    std::map<int32_t, dove::Amount> m_running;
};

void JournalWriter::declare(const std::vector<JournalEntry>& entries) {
    std::set<std::string> accounts, commodities;
    auto note = [&](const JournalPosting& p) {
        accounts.insert(p.account);
        if (!p.commodity.empty()) commodities.insert(commodityText(p.commodity));
        if (p.hasCost()) commodities.insert(commodityText(p.costCommodity));
    };
    for (const JournalEntry& e : entries)
        for (const JournalPosting& p : e.postings)
            note(p);
    for (const AccountRow& a : m_s.accounts) {
        if (m_only != 0 && a.number != m_only) continue;
        accounts.insert(m_builder.accountName(a.number));
        if (!a.currency.empty()) commodities.insert(commodityText(a.currency));
        if (a.starting != 0) accounts.insert(kOpeningAccount);
    }
    for (const char* tag : kTags)
        std::fprintf(m_out, "tag %s\n", tag);
    for (const std::string& c : commodities)
        std::fprintf(m_out, "commodity %s\n", c.c_str());
    for (const std::string& a : accounts)
        std::fprintf(m_out, "account %s\n", a.c_str());
    std::fputs("\n", m_out);
}

void JournalWriter::writeOpenings(dove::Date date) {
    for (const AccountRow& a : m_s.accounts) {
        if (m_only != 0 && a.number != m_only) continue;
        m_running[a.number] = a.starting;
        if (a.starting == 0) continue;
        const std::string amount = amountWith(a.starting, a.currency);
        std::fprintf(m_out, "%s Opening balance\n    %s  %s = %s\n    %s  %s\n\n", dayText(date).c_str(),
                     m_builder.accountName(a.number).c_str(), amount.c_str(), amount.c_str(), kOpeningAccount,
                     amountWith(wrappedNegation(a.starting), a.currency).c_str());
    }
}

void JournalWriter::writePosting(const JournalPosting& p) {
    std::string line = "    " + p.account + "  " + amountWith(p.amount, p.commodity);
    if (p.hasCost()) line += " @@ " + amountWith(p.cost, p.costCommodity);
    std::vector<std::string> notes = p.notes;
    if (p.date != 0) notes.insert(notes.begin(), "[" + dayText(p.date) + "]");
    if (p.balanceAccount != 0) {
        dove::Amount& running = m_running[p.balanceAccount];
        running = wrappedSum(running, p.amount);
        // The stored running balance, as an assertion the reader checks; one that the journal's own
        // sum does not reach is left as a note rather than making the journal unreadable.
        if (p.hasStoredBalance && p.storedBalance == running)
            line += " = " + amountWith(running, p.commodity);
        else if (p.hasStoredBalance)
            notes.push_back("stored running balance: " + amountText(p.storedBalance));
    }
    std::fprintf(m_out, "%s\n", line.c_str());
    for (const std::string& n : notes)
        std::fprintf(m_out, "    ; %s\n", n.c_str());
}

void JournalWriter::writeEntry(const JournalEntry& e) {
    std::fprintf(m_out, "%s%s (%s) %s\n", dayText(e.date).c_str(), e.cleared ? " *" : "",
                 journalText(e.identifier).c_str(), e.payee.c_str());
    for (const std::string& n : e.notes)
        std::fprintf(m_out, "    ; %s\n", n.c_str());
    for (const JournalPosting& p : e.postings)
        writePosting(p);
    std::fputs("\n", m_out);
}

void JournalWriter::write() {
    std::vector<JournalEntry> entries = orderJournal(m_builder.entries());
    std::fprintf(m_out, "; finance store journal%s\n",
                 m_only != 0 ? (" of account " + std::to_string(m_only)).c_str() : "");
    declare(entries);
    dove::Date first = dove::nowLocal();
    for (const JournalEntry& e : entries)
        first = std::min(first, e.date);
    writeOpenings(first);
    for (const JournalEntry& e : entries)
        writeEntry(e);
    for (const std::u16string& id : m_builder.skipped())
        std::fprintf(m_out, "; not written: %s (a split line without its owner)\n", journalText(id).c_str());
}

}  // namespace

void writeLedgerJournal(const StoreSnapshot& snapshot, int32_t onlyAccount, std::FILE* out) {
    JournalWriter(snapshot, onlyAccount, out).write();
}

int runExport(const CommandLine& line) {
    auto usage = [](const std::string& message) {
        std::fprintf(stderr, "financestore: %s\n", message.c_str());
        return kExitUsage;
    };
    const std::string unexpected = line.unexpectedOption({"ledger", "account"});
    if (!unexpected.empty()) return usage("export does not take --" + unexpected);
    if (!line.arguments().empty()) return usage("export takes no argument " + line.arguments().front());
    if (!line.has("ledger")) return usage("export needs --ledger (the one journal form it writes)");
    int32_t only = 0;
    if (auto text = line.value("account")) {
        auto number = parseInteger(*text);
        if (!number || !dove::accountExists(*number)) return usage("no account " + *text);
        only = *number;
    }
    StoreSnapshot snapshot;
    if (!readSnapshot(snapshot)) return usage("the finance store could not be read completely");
    writeLedgerJournal(snapshot, only, stdout);
    return kExitOk;
}

}  // namespace financestore

// Parsing the tool's command line.
#include "CommandLine.h"

namespace financestore {
namespace {

const std::set<std::string> kSwitches = {"demo", "cleared", "uncleared", "help",
                                         "raw",  "ledger",  "ongoing",   "force"};

}  // namespace

bool CommandLine::parse(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        std::string word = argv[i];
        if (word.size() < 3 || word.compare(0, 2, "--") != 0) {
            if (m_command.empty())
                m_command = word;
            else
                m_arguments.push_back(word);
            continue;
        }
        std::string name = word.substr(2);
        const size_t equals = name.find('=');
        if (equals != std::string::npos) {
            m_values[name.substr(0, equals)].push_back(name.substr(equals + 1));
        } else if (kSwitches.count(name) != 0) {
            m_switches.insert(name);
        } else if (i + 1 < argc) {
            m_values[name].push_back(argv[++i]);
        } else {
            m_error = "the option --" + name + " needs a value";
            return false;
        }
    }
    return true;
}

bool CommandLine::has(const std::string& name) const {
    return m_switches.count(name) != 0 || m_values.count(name) != 0;
}

std::optional<std::string> CommandLine::value(const std::string& name) const {
    auto it = m_values.find(name);
    if (it == m_values.end()) return std::nullopt;
    return it->second.back();
}

bool CommandLine::hasAnyOption() const {
    return !m_switches.empty() || m_values.size() > m_values.count("root");
}

std::vector<std::string> CommandLine::values(const std::string& name) const {
    auto it = m_values.find(name);
    return it == m_values.end() ? std::vector<std::string>() : it->second;
}

std::string CommandLine::repeatedOption(const std::set<std::string>& repeatable) const {
    for (const auto& [name, given] : m_values)
        if (given.size() > 1 && repeatable.count(name) == 0) return name;
    return {};
}

std::string CommandLine::unexpectedOption(const std::set<std::string>& allowed) const {
    auto isAllowed = [&](const std::string& name) {
        return name == "root" || name == "help" || allowed.count(name) != 0;
    };
    for (const std::string& name : m_switches)
        if (!isAllowed(name)) return name;
    for (const auto& [name, value] : m_values)
        if (!isAllowed(name)) return name;
    return {};
}

const char* usageText() {
    return "usage: financestore [--root DIR] COMMAND [options]\n"
           "\n"
           "The device root is DIR, else $VARKEL_ROOT, else ~/.local/share/varkel.\n"
           "\n"
           "commands:\n"
           "  init [--demo] [--seed N]   open (and so create) the finance store; --demo seeds an empty\n"
           "                             store with a year of realistic data\n"
           "  add --account N (--amount X | --split LINE...) [--payee NAME]\n"
           "      [--category PATH | --transfer-to N] [--project NAME] [--currency CODE]\n"
           "      [--date YYYY-MM-DD[THH:MM:SS]] [--cleared]\n"
           "                             save one transaction and print its identifier; each\n"
           "                             --split CATEGORY=AMOUNT or --split @ACCOUNT=AMOUNT (a transfer)\n"
           "                             adds a split line, and the amount is the lines' sum\n"
           "  edit ID [--amount X] [--date D] [--account N] [--payee NAME] [--category PATH |\n"
           "      --transfer-to N] [--project NAME] [--cleared | --uncleared] [--split LINE...]\n"
           "                             change a transaction through the same save and print its\n"
           "                             identifier; --split replaces the split lines (a line equal to\n"
           "                             a stored one keeps it)\n"
           "  delete ID                  delete a transaction with its split lines and transfer side (a\n"
           "                             split line goes with its owner, or through edit --split)\n"
           "  dump TABLE [--raw]         print every record of a table as one JSON object a line, by\n"
           "                             property name with readable values (--raw: by number, as\n"
           "                             stored) (Transactions, Accounts, Categories, Projects,\n"
           "                             Currencies, Planner, Scheduled, CurrencyHistory, Budgets,\n"
           "                             BudgetLists, DeletedItems, Customize, PlannerFolders,\n"
           "                             Memorized, MemorizedSplits, or a database name such as\n"
           "                             \"Brimwell Account\")\n"
           "  export --ledger [--account N]\n"
           "                             write the transactions (of account N only) as a plain-text\n"
           "                             journal for ledger and hledger\n"
           "  check                      verify balances, transfer links, identifiers, split lines,\n"
           "                             entered amounts, budget totals and scheduled items' entered\n"
           "                             counts; it never writes\n"
           "  plan add --account N --amount X --frequency F --first DATE (--count N | --ongoing)\n"
           "      [--payee NAME] [--category PATH | --transfer-to N] [--project NAME]\n"
           "      [--currency CODE] [--interval DAYS] [--lead-days N] [--memo TEXT] [--reminder TEXT]\n"
           "                             save a scheduled item and print its number; F is a name\n"
           "                             (Monthly, twice-a-month, ...) or a code 0 to 12; the memo may\n"
           "                             hold {year}, {month+1}, {week}, {day}, {date-3}; --reminder\n"
           "                             links a reminder that goes with the item\n"
           "  plan list                  print the scheduled items, one a line\n"
           "  plan enter N [--amount X] [--date D]\n"
           "                             enter item N's next occurrence as a transaction, in full or\n"
           "                             (with a smaller X) in part, and print its identifier\n"
           "  plan delete N              delete scheduled item N\n"
           "  future --until DATE [--force]\n"
           "                             build the future list up to DATE and print it, one entry a\n"
           "                             line: date, item, account, amount due, currency, the item's\n"
           "                             amount when a part was paid, payee, memo (tab-separated)\n"
           "  manager [--log FILE]       stand in for the finance manager: a window of class\n"
           "                             \"WCE_VarkelBrimwell\" that logs each message it receives\n"
           "                             (\"message N wParam W lParam L\") until closed or terminated\n"
           "  starter [--log FILE] [ARGS...]\n"
           "                             stand in for the manager's starter: log \"starter ARGS\"\n"
           "  install                    put dashel, the Today item and the starter stand-in into the\n"
           "                             root's \\windows\\ and register the item with the home screen\n"
           "\n"
           "exit codes: 0 success, 1 violations found, no such transaction or scheduled item, a finished\n"
           "item, or a save that failed (nothing written), 2 bad usage or input (nothing written) or an\n"
           "unreadable store (left as it is), 3 the store is busy: another program kept it locked\n"
           "(nothing written)\n";
}

}  // namespace financestore

// Parsing the tool's command line.
#include "CommandLine.h"

namespace financestore {
namespace {

const std::set<std::string> kSwitches = {"demo", "cleared", "help"};

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
            m_values[name.substr(0, equals)] = name.substr(equals + 1);
        } else if (kSwitches.count(name) != 0) {
            m_switches.insert(name);
        } else if (i + 1 < argc) {
            m_values[name] = argv[++i];
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
    return it->second;
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
           "  add --account N --amount X [--payee NAME] [--category PATH | --transfer-to N]\n"
           "      [--project NAME] [--currency CODE] [--date YYYY-MM-DD[THH:MM:SS]] [--cleared]\n"
           "                             save one transaction and print its identifier\n"
           "  delete ID                  delete a transaction with its split lines and transfer side\n"
           "  dump TABLE                 print every record of a table as one JSON object a line\n"
           "                             (Transactions, Accounts, Categories, Projects, Currencies,\n"
           "                             Planner, Scheduled, CurrencyHistory, Budgets, BudgetLists,\n"
           "                             DeletedItems, Customize, PlannerFolders, Memorized,\n"
           "                             MemorizedSplits, or a database name such as \"Brimwell Account\")\n"
           "  check                      verify balances, transfer links, identifiers and budget totals\n"
           "  manager [--log FILE]       stand in for the finance manager: a window of class\n"
           "                             \"WCE_VarkelBrimwell\" that logs each message it receives\n"
           "                             (\"message N wParam W lParam L\") until closed or terminated\n"
           "  starter [--log FILE] [ARGS...]\n"
           "                             stand in for the manager's starter: log \"starter ARGS\"\n"
           "  install                    put dashel, the Today item and the starter stand-in into the\n"
           "                             root's \\windows\\ and register the item with the home screen\n"
           "\n"
           "exit codes: 0 success, 1 violations found or no such transaction, 2 bad usage or an\n"
           "unreadable store\n";
}

}  // namespace financestore

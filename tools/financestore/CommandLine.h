// The tool's command line: the command word, its positional arguments and its --name value options.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace financestore {

// Exit codes of every command.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;  // check found violations; no such record; a save that failed
inline constexpr int kExitUsage = 2;   // bad usage or input, or an unreadable store
inline constexpr int kExitBusy = 3;    // another program kept the store locked longer than the wait

class CommandLine {
  public:
    // Parses argv[1..]: "--name value" or "--name=value" for value options (each may be given more than
    // once), "--name" for the switches --demo, --cleared, --uncleared, --help, --raw and --ledger,
    // everything else positional (the first positional is the command). False, with error() set, when a
    // value option lacks its value.
    bool parse(int argc, char** argv);
    const std::string& error() const { return m_error; }

    const std::string& command() const { return m_command; }
    const std::vector<std::string>& arguments() const { return m_arguments; }
    bool has(const std::string& name) const;
    // The value of an option (the last one given), nullopt when it was not given.
    std::optional<std::string> value(const std::string& name) const;
    // Every value given for an option, in order.
    std::vector<std::string> values(const std::string& name) const;
    // The first value option given more than once that is not in repeatable ("" when none).
    std::string repeatedOption(const std::set<std::string>& repeatable) const;
    // Whether any option (other than --root) was given.
    bool hasAnyOption() const;
    // The first option not in allowed ("" when every option is allowed; --root and --help always are).
    std::string unexpectedOption(const std::set<std::string>& allowed) const;

  private:
    std::string m_command;
    std::vector<std::string> m_arguments;
    std::map<std::string, std::vector<std::string>> m_values;
    std::set<std::string> m_switches;
    std::string m_error;
};

// Usage text for --help and bad usage.
const char* usageText();

}  // namespace financestore

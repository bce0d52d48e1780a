// Checking the options of plan add.
#include "PlanOptions.h"

#include <cctype>

#include "Frequencies.h"
#include "ValueParsing.h"
#include "platform/windows.h"

namespace financestore {
namespace {

// Lower case with "-" and "_" as spaces, for comparing frequency names.
std::string folded(const std::string& text) {
    std::string out;
    for (unsigned char c : text)
        out += c == '-' || c == '_' ? ' ' : static_cast<char>(std::tolower(c));
    return out;
}

std::string countProblem(const CommandLine& line, PlanValues& v) {
    if (line.has("count") == line.has("ongoing")) return "give either --count N or --ongoing";
    if (line.has("ongoing")) {
        v.occurrences = -1;
        return {};
    }
    auto count = parseInteger(*line.value("count"));
    if (!count || *count < 1) return "bad count '" + *line.value("count") + "' (expected 1 or more)";
    v.occurrences = *count;
    return {};
}

std::string scheduleProblem(const CommandLine& line, PlanValues& v) {
    if (!line.has("frequency")) return "plan add needs --frequency";
    auto frequency = parseFrequency(*line.value("frequency"));
    if (!frequency)
        return "unknown frequency '" + *line.value("frequency") + "' (a name such as Monthly, or 0 to 12)";
    v.frequency = *frequency;
    if (!line.has("first")) return "plan add needs --first DATE";
    auto first = parseDate(*line.value("first"));
    if (!first) return "bad date '" + *line.value("first") + "' (expected YYYY-MM-DD or YYYY-MM-DDTHH:MM:SS)";
    v.first = *first;
    if (line.has("interval") != (v.frequency == dove::kEveryNDays))
        return "--interval goes with the frequency Every n Days, and only with it";
    if (auto text = line.value("interval")) {
        auto interval = parseInteger(*text);
        if (!interval || *interval < 1)
            return "bad interval '" + *text + "' (expected a number of days, 1 or more)";
        v.interval = *interval;
    }
    if (auto text = line.value("lead-days")) {
        auto lead = parseInteger(*text);
        if (!lead || *lead < 0 || *lead > kMaxLeadDays)
            return "bad lead days '" + *text + "' (expected 0 to " + std::to_string(kMaxLeadDays) + ")";
        v.leadDays = *lead;
    }
    return countProblem(line, v);
}

std::string textProblem(const CommandLine& line, const char* option, std::u16string& out) {
    auto text = line.value(option);
    if (!text) return {};
    out = platform::fromUtf8(*text);
    if (out.size() > kMaxMemoLength)
        return std::string("the --") + option + " text is longer than " + std::to_string(kMaxMemoLength) +
               " characters";
    if (std::string(option) == "reminder" && out.find_first_not_of(u" \t") == std::u16string::npos)
        return "the reminder text is empty";
    return {};
}

}  // namespace

std::optional<int32_t> parseFrequency(const std::string& text) {
    if (auto code = parseInteger(text)) {
        if (*code >= 0 && *code < dove::kFrequencyCount) return *code;
        return std::nullopt;
    }
    const std::string wanted = folded(text);
    for (int32_t code = 0; code < dove::kFrequencyCount; ++code)
        if (folded(platform::toUtf8(dove::frequencyName(code))) == wanted) return code;
    return std::nullopt;
}

std::string readPlanOptions(const CommandLine& line, PlanValues& v) {
    if (!line.has("account") || !line.has("amount")) return "plan add needs --account and --amount";
    std::string problem = readEntryOptions(line, 0, v.entry);
    if (problem.empty()) problem = scheduleProblem(line, v);
    if (problem.empty()) problem = textProblem(line, "memo", v.memo);
    if (problem.empty()) problem = textProblem(line, "reminder", v.reminder);
    return problem;
}

}  // namespace financestore

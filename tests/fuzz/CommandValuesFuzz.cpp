// The command line of financestore and the values typed on it: any words parse into a command and
// options, and every account number, amount and date accepted reads back from its own plain form.
#include <cstdio>
#include <vector>

#include "CommandLine.h"
#include "FuzzSupport.h"
#include "ValueParsing.h"

namespace {

std::string amountText(dove::Amount amount) {
    uint64_t magnitude = amount < 0 ? 0 - static_cast<uint64_t>(amount) : static_cast<uint64_t>(amount);
    char text[32];
    std::snprintf(text, sizeof text, "%s%llu.%02llu", amount < 0 ? "-" : "",
                  static_cast<unsigned long long>(magnitude / 100),
                  static_cast<unsigned long long>(magnitude % 100));
    return text;
}

std::string dateText(dove::Date date) {
    SYSTEMTIME f = dove::dateFields(date);
    char text[32];
    std::snprintf(text, sizeof text, "%04u-%02u-%02uT%02u:%02u:%02u", f.wYear, f.wMonth, f.wDay, f.wHour,
                  f.wMinute, f.wSecond);
    return text;
}

void checkValue(const std::string& text) {
    if (auto number = financestore::parseInteger(text))
        fuzz::check(financestore::parseInteger(std::to_string(*number)) == number, "a number reads back");
    if (auto amount = financestore::parseAmount(text))
        fuzz::check(financestore::parseAmount(amountText(*amount)) == amount, "an amount reads back");
    if (auto date = financestore::parseDate(text))
        fuzz::check(financestore::parseDate(dateText(*date)) == date, "a date reads back");
}

}  // namespace

// The input is the command line's words, separated by NUL bytes.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> words = {"financestore"};
    std::string word;
    for (size_t i = 0; i < size; ++i) {
        if (data[i] != 0) {
            word += static_cast<char>(data[i]);
        } else {
            words.push_back(word);
            word.clear();
        }
    }
    words.push_back(word);
    std::vector<char*> argv;
    for (std::string& w : words)
        argv.push_back(w.data());
    financestore::CommandLine line;
    if (!line.parse(static_cast<int>(argv.size()), argv.data())) {
        fuzz::check(!line.error().empty(), "a refused command line says why");
        return 0;
    }
    for (const std::string& argument : line.arguments())
        checkValue(argument);
    for (const char* name : {"amount", "date", "account", "transfer-to"})
        for (const std::string& value : line.values(name))
            checkValue(value);
    return 0;
}

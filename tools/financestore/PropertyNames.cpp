// The property names of every finance table and the readable forms of their values.
#include "PropertyNames.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <vector>

#include "DateTime.h"
#include "StoreSnapshot.h"
#include "TableDump.h"

namespace financestore {
namespace {

using K = ValueKind;

// The transaction layout, shared by Transactions, Scheduled and Planner.
const std::vector<PropertyName> kTransaction = {
    {101, "identifier", K::Text},
    {102, "projectKey", K::Text},
    {103, "occurrenceKey", K::Text},
    {104, "account", K::Number},
    {105, "scheduledDate", K::Date},
    {106, "unpaid", K::Wide},
    {107, "paidAmount", K::Amount},
    {108, "date", K::Date},
    {109, "sideText", K::Text},
    {110, "payeeName", K::Text},
    {112, "amount", K::Amount},
    {113, "balance", K::Amount},
    {114, "text", K::Text},
    {115, "text115", K::Text},
    {116, "link", K::Text},
    {117, "cleared", K::Number},
    {121, "enteredAmount", K::Amount},
    {122, "enteredCurrency", K::Text},
    {125, "kind", K::Number},
    {126, "passwordDigest", K::Bytes},
    {128, "modified", K::Stamp},
    {129, "modifiedFlag", K::Number},
    {130, "number130", K::Number},
    {131, "number131", K::Number},
    {132, "excluded", K::Number},
    {133, "number133", K::Number},
    {134, "sequence", K::Number},
    {135, "key", K::Text},
    {136, "secondPayeeName", K::Text},
    {137, "number", K::Number},
    {138, "text138", K::Text},
    {139, "security", K::Text},
    {140, "unitsChange", K::Number},
    {142, "rate", K::Rate},
    {201, "project", K::Number},
    {251, "schedule", K::Number},
    {301, "currency", K::Text},
    {401, "category", K::Number},
    {1001, "payee", K::Number},
};

const std::vector<PropertyName> kScheduledExtra = {{351, "amountBeforePayment", K::Amount}};

const std::vector<PropertyName> kPlannerExtra = {
    {252, "frequency", K::Number},   {253, "nextDate", K::Date},   {254, "entered", K::Number},
    {255, "occurrences", K::Number}, {257, "leadDays", K::Number}, {259, "finished", K::Number},
    {260, "setting260", K::Number},  {261, "reminder", K::Number}, {262, "dayInterval", K::Number},
    {901, "setting901", K::Number},
};

const std::vector<PropertyName> kAccounts = {
    {104, "number", K::Number},    {160, "position", K::Number},     {135, "key", K::Text},
    {110, "name", K::Text},        {301, "currency", K::Text},       {113, "balance", K::Amount},
    {114, "text", K::Text},        {259, "flag259", K::Number},      {165, "flag165", K::Number},
    {168, "flag168", K::Number},   {161, "startAmount", K::Amount},  {164, "openingBalance", K::Amount},
    {163, "amount163", K::Amount}, {166, "amount166", K::Amount},    {167, "amount167", K::Amount},
    {173, "type", K::Number},      {174, "securities", K::Text},     {162, "number162", K::Number},
    {151, "date151", K::Date},     {155, "date155", K::Date},        {169, "date169", K::Date},
    {205, "date205", K::Date},     {153, "number153", K::Number},    {157, "number157", K::Number},
    {159, "number159", K::Number}, {170, "number170", K::Number},    {171, "number171", K::Number},
    {154, "amount154", K::Amount}, {156, "amount156", K::Amount},    {158, "amount158", K::Amount},
    {128, "modified", K::Stamp},   {129, "modifiedFlag", K::Number},
};

const std::vector<PropertyName> kCategories = {
    {401, "number", K::Number},       {203, "parent", K::Number}, {430, "type", K::Number},
    {110, "name", K::Text},           {135, "key", K::Text},      {128, "modified", K::Stamp},
    {129, "modifiedFlag", K::Number},
};

const std::vector<PropertyName> kProjects = {
    {201, "number", K::Number},       {203, "parent", K::Number},
    {110, "name", K::Text},           {135, "key", K::Text},
    {207, "ownIncome", K::Amount},    {208, "ownExpense", K::Amount},
    {209, "childIncome", K::Amount},  {210, "childExpense", K::Amount},
    {211, "totalsValid", K::Number},  {162, "number162", K::Number},
    {169, "date169", K::Date},        {128, "modified", K::Stamp},
    {129, "modifiedFlag", K::Number},
};

const std::vector<PropertyName> kCurrencies = {
    {302, "number", K::Number}, {301, "code", K::Text},      {303, "symbol", K::Text},
    {304, "name", K::Text},     {305, "hidden", K::Number},  {306, "decimalsPlusOne", K::Number},
    {135, "key", K::Text},      {128, "modified", K::Stamp}, {129, "modifiedFlag", K::Number},
};

const std::vector<PropertyName> kCurrencyHistory = {
    {601, "rateKey", K::Text},   {604, "key604", K::Text}, {1000, "rate", K::Text},
    {602, "number602", K::Text}, {108, "date", K::Date},
};

const std::vector<PropertyName> kBudgets = {
    {501, "number", K::Number}, {110, "name", K::Text},         {201, "project", K::Number},
    {301, "currency", K::Text}, {402, "setting402", K::Number}, {403, "setting403", K::Number},
    {504, "kind", K::Number},   {168, "setting168", K::Number}, {171, "setting171", K::Number},
    {135, "key", K::Text},      {128, "modified", K::Stamp},    {129, "modifiedFlag", K::Number},
};

const std::vector<PropertyName> kBudgetLists = {
    {501, "budget", K::Number},
    {401, "category", K::Number},
    {402, "active", K::Number},
    {403, "setting403", K::Number},
    {404, "limit", K::Amount},
    {405, "limitJanuary", K::Amount},
    {406, "limitFebruary", K::Amount},
    {407, "limitMarch", K::Amount},
    {408, "limitApril", K::Amount},
    {409, "limitMay", K::Amount},
    {410, "limitJune", K::Amount},
    {411, "limitJuly", K::Amount},
    {412, "limitAugust", K::Amount},
    {413, "limitSeptember", K::Amount},
    {414, "limitOctober", K::Amount},
    {415, "limitNovember", K::Amount},
    {416, "limitDecember", K::Amount},
    {417, "monthTotal", K::Amount},
    {431, "amount431", K::Amount},
    {430, "categoryType", K::Number},
    {171, "setting171", K::Number},
    {301, "currency", K::Text},
    {135, "key", K::Text},
    {128, "modified", K::Stamp},
    {129, "modifiedFlag", K::Number},
};

const std::vector<PropertyName> kDeletedItems = {
    {901, "itemKind", K::Number}, {135, "key", K::Text}, {108, "deleted", K::Stamp}};

const std::vector<PropertyName> kCustomize = {
    {801, "number", K::Number},    {802, "setting802", K::Number}, {803, "setting803", K::Number},
    {160, "position", K::Number},  {804, "text804", K::Text},      {805, "text805", K::Text},
    {806, "amount806", K::Amount}, {807, "amount807", K::Amount},  {108, "date", K::Date},
};

const std::vector<PropertyName> kMemorized = {
    {1001, "number", K::Number},      {110, "name", K::Text},        {1004, "displayName", K::Text},
    {1002, "text1002", K::Text},      {1003, "flag1003", K::Number}, {1005, "flag1005", K::Number},
    {1006, "flagCharacter", K::Text}, {108, "date", K::Date},        {135, "key", K::Text},
    {128, "modified", K::Stamp},      {104, "account", K::Number},   {401, "category", K::Number},
    {201, "project", K::Number},      {117, "cleared", K::Number},   {137, "number137", K::Number},
    {114, "text", K::Text},           {112, "amount", K::Amount},    {301, "currency", K::Text},
    {125, "split", K::Number},
};

const std::vector<PropertyName> kMemorizedSplits = {
    {1101, "line", K::SplitKey},   {401, "category", K::Number}, {201, "project", K::Number},
    {137, "number137", K::Number}, {114, "text", K::Text},       {112, "amount", K::Amount},
};

// The name of number in names, with its place in the list as its rank (after offset).
std::optional<PropertyName> findIn(const std::vector<PropertyName>& names, dove::PropertyNumber number,
                                   int offset = 0) {
    for (size_t i = 0; i < names.size(); ++i) {
        if (names[i].number != number) continue;
        PropertyName found = names[i];
        found.rank = offset + static_cast<int>(i);
        return found;
    }
    return std::nullopt;
}

std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

std::string dateText(uint64_t value, bool utc) {
    const SYSTEMTIME t = dove::dateFields(value);
    char text[40];
    std::snprintf(text, sizeof text, "%04u-%02u-%02uT%02u:%02u:%02u", t.wYear, t.wMonth, t.wDay, t.wHour,
                  t.wMinute, t.wSecond);
    std::string out = text;
    if (t.wMilliseconds != 0) {
        std::snprintf(text, sizeof text, ".%03u", t.wMilliseconds);
        out += text;
    }
    return quoted(out + (utc ? "Z" : ""));
}

std::string rateText(uint64_t bits) {
    double rate = 0;
    std::memcpy(&rate, &bits, sizeof rate);
    char text[40];
    std::snprintf(text, sizeof text, "%.10g", rate);
    // JSON has no form for infinities and NaN: a damaged rate shows as text.
    return std::strpbrk(text, "ni") != nullptr ? quoted(text) : std::string(text);
}

std::string wideValue(uint64_t value, ValueKind kind) {
    char text[48];
    switch (kind) {
        case K::Amount:
            return quoted(amountText(static_cast<dove::Amount>(value)));
        case K::Date:
        case K::Stamp:
            return dateText(value, kind == K::Stamp);
        case K::Rate:
            return rateText(value);
        case K::SplitKey:
            std::snprintf(text, sizeof text, "{\"payee\":%" PRId32 ",\"line\":%" PRId32 "}",
                          static_cast<int32_t>(value >> 32), static_cast<int32_t>(value & 0xFFFFFFFFu));
            return text;
        case K::Bytes:
            std::snprintf(text, sizeof text, "\"%016" PRIx64 "\"", value);
            return text;
        default:
            return std::to_string(static_cast<int64_t>(value));
    }
}

}  // namespace

std::optional<PropertyName> propertyName(dove::Table table, dove::PropertyNumber number) {
    switch (table) {
        case dove::Table::Transactions:
            return findIn(kTransaction, number);
        case dove::Table::Scheduled:
            if (auto extra = findIn(kScheduledExtra, number, static_cast<int>(kTransaction.size())))
                return extra;
            return findIn(kTransaction, number);
        case dove::Table::Planner:
            if (auto extra = findIn(kPlannerExtra, number, static_cast<int>(kTransaction.size())))
                return extra;
            return findIn(kTransaction, number);
        case dove::Table::Accounts:
            return findIn(kAccounts, number);
        case dove::Table::Categories:
            return findIn(kCategories, number);
        case dove::Table::Projects:
            return findIn(kProjects, number);
        case dove::Table::Currencies:
            return findIn(kCurrencies, number);
        case dove::Table::CurrencyHistory:
            return findIn(kCurrencyHistory, number);
        case dove::Table::Budgets:
            return findIn(kBudgets, number);
        case dove::Table::BudgetLists:
            return findIn(kBudgetLists, number);
        case dove::Table::DeletedItems:
            return findIn(kDeletedItems, number);
        case dove::Table::Customize:
            return findIn(kCustomize, number);
        case dove::Table::Memorized:
            return findIn(kMemorized, number);
        case dove::Table::MemorizedSplits:
            return findIn(kMemorizedSplits, number);
        case dove::Table::PlannerFolders:
            return std::nullopt;
    }
    return std::nullopt;
}

std::string readableValue(const dove::PropertyValue& value, ValueKind kind) {
    switch (value.type()) {
        case CEVT_I4:
            return std::to_string(value.i4Value());
        case CEVT_FILETIME:
            return wideValue(value.dateValue(), kind);
        case CEVT_LPWSTR:
            return jsonString(value.text());
        default:
            return "null";  // a type the finance tables never use
    }
}

}  // namespace financestore

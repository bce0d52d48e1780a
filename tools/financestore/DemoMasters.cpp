// The demonstration store's master records: currencies with rate histories, accounts, categories,
// projects, payees with memorized entries, a budget with lines and the scheduled items.
#include <cmath>
#include <vector>

#include "Categories.h"
#include "CurrencyCache.h"
#include "DemoData.h"
#include "FinanceStore.h"
#include "Identifiers.h"
#include "Options.h"
#include "Payees.h"
#include "Projects.h"
#include "TransactionStore.h"
#include "platform/windows.h"

namespace financestore::demo {
namespace {

using dove::PropertyValue;

struct AccountSeed {
    int32_t number;
    const char16_t* name;
    const char16_t* currency;
    dove::Amount opening;
    int32_t type;
    bool closed;
    const char16_t* securities;
};

constexpr AccountSeed kAccounts[] = {
    {kChecking, u"Checking", u"USD", 250000, 0, false, nullptr},
    {kSavings, u"Savings", u"USD", 1000000, 0, false, nullptr},
    {kEuroAccount, u"Euro Account", u"EUR", 50000, 0, false, nullptr},
    {kOldCard, u"Old Credit Card", u"USD", -35000, 0, true, nullptr},
    {kBrokerage, u"Brokerage", u"USD", 0, 5, false,
     u"YACME\nI12.500000\nB100\nQ100\n^\nYGLOBEX\nI40.000000\nB20\nQ20\n^\n"},
};

struct CategorySeed {
    const char* path;
    int32_t type;
};

constexpr CategorySeed kCategories[] = {
    {"Salary", 1},        {"Interest", 1},    {"Gifts", 1},     {"Groceries", 2},      {"Dining", 2},
    {"Car:Fuel", 2},      {"Car:Service", 2}, {"Home:Rent", 2}, {"Home:Utilities", 2}, {"Home:Furniture", 2},
    {"Entertainment", 2}, {"Health", 2},      {"Travel", 2},    {"Clothing", 2},       {"Investments", 2},
};

constexpr const char* kProjects[] = {"Vacation", "Home renovation", "Business trip"};

struct PayeeSeed {
    const char* name;
    int32_t account;
    const char* category;  // "" for a split entry or a transfer
    dove::Amount amount;
    int32_t transferTo;
};

constexpr PayeeSeed kPayees[] = {
    {"Acme Corp", kChecking, "Salary", 250000, 0},
    {"First Bank", kSavings, "Interest", 1500, 0},
    {"Grandma", kChecking, "Gifts", 10000, 0},
    {"Fresh Market", kChecking, "Groceries", -6500, 0},
    {"Green Grocer", kChecking, "Groceries", -3200, 0},
    {"Costco", kChecking, "", -12000, 0},
    {"Trader Joe's", kChecking, "Groceries", -5400, 0},
    {"Corner Store", kChecking, "Groceries", -1200, 0},
    {"Walmart", kChecking, "", -8500, 0},
    {"Bakery Lane", kChecking, "Groceries", -800, 0},
    {"Pizza Palace", kChecking, "Dining", -2400, 0},
    {"Sushi Bar", kChecking, "Dining", -4500, 0},
    {"Cafe Central", kChecking, "Dining", -650, 0},
    {"Burger Barn", kChecking, "Dining", -1500, 0},
    {"Taco Stand", kChecking, "Dining", -900, 0},
    {"Le Bistro", kEuroAccount, "Dining", -7800, 0},
    {"Shell Station", kChecking, "Car:Fuel", -5000, 0},
    {"Chevron", kChecking, "Car:Fuel", -4500, 0},
    {"Jiffy Lube", kChecking, "Car:Service", -8900, 0},
    {"City Parking", kChecking, "Car:Service", -1500, 0},
    {"Oakwood Apartments", kChecking, "Home:Rent", -120000, 0},
    {"City Power", kChecking, "Home:Utilities", -11000, 0},
    {"Water Works", kChecking, "Home:Utilities", -4000, 0},
    {"Comcast", kChecking, "Home:Utilities", -7999, 0},
    {"IKEA", kChecking, "", -16200, 0},
    {"Home Depot", kChecking, "Home:Furniture", -6000, 0},
    {"Cinema City", kChecking, "Entertainment", -2800, 0},
    {"Netflix", kChecking, "Entertainment", -1599, 0},
    {"Spotify", kChecking, "Entertainment", -1099, 0},
    {"Concert Hall", kOldCard, "Entertainment", -9000, 0},
    {"Bookstore", kOldCard, "Entertainment", -2200, 0},
    {"City Pharmacy", kChecking, "Health", -1850, 0},
    {"Dr. Smith", kChecking, "Health", -12000, 0},
    {"Gym Plus", kChecking, "Health", -4500, 0},
    {"Air France", kEuroAccount, "Travel", -32000, 0},
    {"Hotel Lumiere", kEuroAccount, "Travel", -18000, 0},
    {"Paris Metro", kEuroAccount, "Travel", -1490, 0},
    {"Zara", kOldCard, "Clothing", -5900, 0},
    {"Savings Transfer", kChecking, "", -50000, kSavings},
    {"Broker Inc", kBrokerage, "Investments", -100000, 0},
};

struct SplitSeed {
    const char* payee;
    const char* category;
    dove::Amount amount;
};

constexpr SplitSeed kSplits[] = {
    {"Costco", "Groceries", -9000}, {"Costco", "Home:Furniture", -3000}, {"Walmart", "Groceries", -6000},
    {"Walmart", "Clothing", -2500}, {"IKEA", "Home:Furniture", -15000},  {"IKEA", "Dining", -1200},
};

std::u16string u16(const char* text) {
    return platform::fromUtf8(text);
}

bool seedCurrencies(Context& c) {
    struct Seed {
        int32_t id;
        const char16_t* code;
        const char16_t* symbol;
        const char16_t* name;
    };
    const Seed seeds[] = {
        {1, u"USD", u"$", u"US Dollar"}, {2, u"EUR", u"€", u"Euro"}, {3, u"RUR", u"р.", u"Russian Ruble"}};
    dove::TableCursor& currencies = dove::tableCursor(dove::Table::Currencies);
    for (const Seed& s : seeds) {
        if (currencies.addRecord({PropertyValue::i4(302, s.id), PropertyValue::string(301, s.code),
                                  PropertyValue::string(303, s.symbol), PropertyValue::string(304, s.name),
                                  PropertyValue::i4(305, 0),
                                  PropertyValue::string(135, dove::newRecordKeyText()),
                                  PropertyValue::date(128, dove::nowUtc())}) == 0)
            return false;
    }
    // One rate a month for each pair, the first before the first transaction; the key puts the greater
    // code first, and the rate converts that currency into the other.
    dove::TableCursor& history = dove::tableCursor(dove::Table::CurrencyHistory);
    for (int month = 0; month <= 13; ++month) {
        const dove::Date date = addDays(c.start, month * 30 - 5);
        const SYSTEMTIME t = dove::dateFields(date);
        const std::u16string day = platform::format(u"%04d%02d%02d", t.wYear, t.wMonth, t.wDay);
        const double wave = std::sin(month * 0.7);
        const double rates[] = {0.91 + 0.03 * wave + c.between(0, 100) / 100000.0,
                                88.0 + 4.0 * wave + c.between(0, 100) / 100.0};
        const char16_t* pairs[] = {u"USDEUR", u"USDRUR"};
        for (int p = 0; p < 2; ++p) {
            const std::u16string key = pairs[p] + day;
            const std::u16string rate = platform::fromUtf8(std::to_string(rates[p]));
            if (history.addRecord({PropertyValue::string(601, key), PropertyValue::string(604, key),
                                   PropertyValue::string(1000, rate), PropertyValue::string(602, u"1"),
                                   PropertyValue::date(108, date)}) == 0)
                return false;
        }
    }
    return true;
}

bool setDefaultCurrency() {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, dove::kOptionKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return false;
    const std::u16string code = u"USD";
    const LONG result = RegSetValueExW(key, dove::kOptionDefaultCurrency, 0, REG_SZ,
                                       reinterpret_cast<const BYTE*>(code.c_str()),
                                       static_cast<DWORD>((code.size() + 1) * sizeof(char16_t)));
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

bool seedAccounts() {
    dove::TableCursor& accounts = dove::tableCursor(dove::Table::Accounts);
    for (const AccountSeed& a : kAccounts) {
        std::vector<PropertyValue> values = {PropertyValue::i4(104, a.number),
                                             PropertyValue::i4(160, a.number),
                                             PropertyValue::string(110, a.name),
                                             PropertyValue::string(301, a.currency),
                                             PropertyValue::date(161, 0),
                                             PropertyValue::date(164, static_cast<uint64_t>(a.opening)),
                                             PropertyValue::date(113, static_cast<uint64_t>(a.opening)),
                                             PropertyValue::i4(173, a.type),
                                             PropertyValue::i4(165, a.closed ? 1 : 0),
                                             PropertyValue::string(135, dove::newRecordKeyText()),
                                             PropertyValue::date(128, dove::nowUtc())};
        if (a.securities != nullptr) values.push_back(PropertyValue::string(174, a.securities));
        if (accounts.addRecord(values) == 0) return false;
    }
    return true;
}

bool seedCategoriesAndProjects(Context& c) {
    for (const CategorySeed& seed : kCategories) {
        int32_t number = 0;
        if (dove::createCategoryPath(u16(seed.path), seed.type, &number) != dove::StoreStatus::Ok)
            return false;
        c.categories[seed.path] = number;
    }
    c.categories["Car"] = dove::findCategoryByFullName(u"Car");
    for (const char* name : kProjects) {
        int32_t number = 0;
        if (dove::createProject(1, u16(name), &number) != dove::StoreStatus::Ok) return false;
        c.projects[name] = number;
    }
    return true;
}

bool seedPayees(Context& c) {
    for (const PayeeSeed& seed : kPayees) {
        dove::Payee payee;
        payee.name = u16(seed.name);
        payee.entry.account = seed.account;
        payee.entry.category = seed.transferTo != 0 ? -seed.transferTo : c.category(seed.category);
        payee.entry.amount = seed.amount;
        payee.entry.currency = seed.account == kEuroAccount ? u"EUR" : u"USD";
        payee.entry.project = seed.account == kEuroAccount ? c.project("Vacation") : 0;
        int32_t line = 0;
        for (const SplitSeed& split : kSplits) {
            if (std::string(split.payee) != seed.name) continue;
            payee.entry.kind = 1;
            payee.splits.push_back({++line, c.category(split.category), 0, 0, u"", split.amount});
        }
        if (dove::createPayee(payee) != dove::StoreStatus::Ok) return false;
        c.payees[seed.name] = payee.number;
    }
    return true;
}

}  // namespace

bool seedMasters(Context& c) {
    if (!setDefaultCurrency() || !seedCurrencies(c)) return false;
    dove::currencyCache().reload();
    return seedAccounts() && seedCategoriesAndProjects(c) && seedPayees(c) && seedBudget(c) &&
           seedScheduledItems(c);
}

}  // namespace financestore::demo

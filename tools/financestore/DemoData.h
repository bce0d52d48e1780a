// What the demonstration seeder writes, shared by its two halves: the master records (currencies, rates,
// accounts, categories, projects, payees, budget, scheduled items) and the year of transactions.
#pragma once

#include <cstdint>
#include <map>
#include <random>
#include <string>

#include "Amount.h"
#include "DateTime.h"

namespace financestore::demo {

// Account numbers of the demonstration store.
inline constexpr int32_t kChecking = 1;
inline constexpr int32_t kSavings = 2;
inline constexpr int32_t kEuroAccount = 3;
inline constexpr int32_t kOldCard = 4;  // closed after its balance was paid off
inline constexpr int32_t kBrokerage = 5;

struct Context {
    std::mt19937 random;
    dove::Date today = 0;  // today at midnight
    dove::Date start = 0;  // a year before today
    std::map<std::string, int32_t> categories;
    std::map<std::string, int32_t> projects;
    std::map<std::string, int32_t> payees;
    std::map<std::string, uint32_t> schedules;  // scheduled items by payee

    int32_t category(const std::string& path) const;
    int32_t project(const std::string& name) const;
    int32_t payee(const std::string& name) const;
    // A whole amount of hundredths between low and high (inclusive).
    dove::Amount between(dove::Amount low, dove::Amount high);
    bool chance(int percent);
};

// The master records; false when a write failed.
bool seedMasters(Context& c);
// The budget with its lines and the scheduled items (called by seedMasters).
bool seedBudget(Context& c);
bool seedScheduledItems(Context& c);
// The occurrences of the scheduled items entered so far, after the year of transactions.
bool seedScheduledPayments(Context& c);
// The year of transactions, in date order, each through the full save; false when a save failed.
bool seedHistory(Context& c);

// Day arithmetic on local dates.
dove::Date addDays(dove::Date date, int days);

}  // namespace financestore::demo

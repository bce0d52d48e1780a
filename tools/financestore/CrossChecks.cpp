// Checks that span records: the two sides of each transfer, amounts converted from another currency,
// split owners and their lines, and the current month's budget line totals.
#include <cmath>
#include <map>
#include <set>

#include "Budgets.h"
#include "CurrencyCache.h"
#include "Identifiers.h"
#include "StoreCheck.h"
#include "TransactionRecord.h"
#include "platform/device.h"

namespace financestore {
namespace {

// Half a hundredth is the most that rounding a converted amount may move it; the small relative slack
// covers the double arithmetic of very large amounts.
bool withinRounding(dove::Amount stored, double exact) {
    return std::fabs(static_cast<double>(stored) - exact) <= 0.5 + 1e-9 * std::fabs(exact);
}

std::string utf8(const std::u16string& text) {
    return platform::toUtf8(text);
}

// The entered amount (121 in 122, at the rate 142) must describe the record as it stands: entered in
// another currency, the amount is the entered one at the rate; in the record's own currency the two are
// equal (at no rate but 1); without a currency there is none. What an edit left behind fails here.
void checkEnteredAmount(const TransactionRow& r, std::vector<std::string>& out) {
    if (r.enteredCurrency.empty()) {
        if (r.entered != 0)
            out.push_back("currency: " + utf8(r.id) + " keeps the entered amount " + amountText(r.entered) +
                          " without its currency");
        return;
    }
    if (r.enteredCurrency == r.currency) {
        const bool otherRate = r.hasRate && r.rate != 0 && r.rate != 1;
        if (r.entered != r.amount || otherRate)
            out.push_back(
                "currency: " + utf8(r.id) + " keeps the entered amount " + amountText(r.entered) + " " +
                utf8(r.enteredCurrency) + (otherRate ? " at the rate " + std::to_string(r.rate) : "") +
                ", which does not describe its amount " + amountText(r.amount) + " " + utf8(r.currency));
        return;
    }
    if (!r.hasRate) return;
    if (!std::isfinite(r.rate) || r.rate <= 0) {
        out.push_back("currency: " + utf8(r.id) + " carries an unusable rate");
        return;
    }
    if (!withinRounding(r.amount, static_cast<double>(r.entered) * r.rate))
        out.push_back("currency: " + utf8(r.id) + " has amount " + amountText(r.amount) + " but " +
                      amountText(r.entered) + " " + utf8(r.enteredCurrency) + " at its rate " +
                      std::to_string(r.rate) + " gives " + std::to_string(r.entered * r.rate / 100.0));
}

// Side s holds the conversion of side o's amount: its entered amount is o's amount negated, in o's
// currency, and its own amount that converted at its stored rate (or the rate table's, without one).
bool convertedFrom(const TransactionRow& s, const TransactionRow& o) {
    if (s.entered != wrappedNegation(o.amount) || s.enteredCurrency != o.currency) return false;
    double rate = s.rate;
    if (!s.hasRate) rate = dove::currencyCache().getRate(o.currency, s.currency, o.date);
    return std::isfinite(rate) && withinRounding(s.amount, static_cast<double>(s.entered) * rate);
}

void checkTransferAmounts(const TransactionRow& r, const TransactionRow& o, std::vector<std::string>& out) {
    if (r.currency == o.currency) {
        if (o.amount != wrappedNegation(r.amount))
            out.push_back("transfer: " + utf8(r.id) + " (" + amountText(r.amount) + ") and " + utf8(o.id) +
                          " (" + amountText(o.amount) + ") do not cancel out");
    } else if (!convertedFrom(r, o) && !convertedFrom(o, r)) {
        out.push_back("transfer: " + utf8(r.id) + " (" + amountText(r.amount) + " " + utf8(r.currency) +
                      ") and " + utf8(o.id) + " (" + amountText(o.amount) + " " + utf8(o.currency) +
                      ") do not match at the exchange rate");
    }
}

void checkOneTransfer(const StoreSnapshot& s, const TransactionRow& r, std::vector<std::string>& out) {
    if (r.link.empty()) {
        if (r.category < 0 && r.kind != dove::kKindGenerated)
            out.push_back("transfer: " + utf8(r.id) + " transfers to account " + std::to_string(-r.category) +
                          " but has no other side");
        return;
    }
    const TransactionRow* other = s.find(r.link);
    if (other == nullptr) {
        out.push_back("transfer: " + utf8(r.id) + " links to the missing record " + utf8(r.link));
        return;
    }
    if (other->link != r.id) {
        out.push_back("transfer: " + utf8(r.id) + " links to " + utf8(r.link) + ", which links to " +
                      (other->link.empty() ? std::string("nothing") : utf8(other->link)));
        return;
    }
    if (r.category != -other->account || other->category != -r.account)
        out.push_back("transfer: " + utf8(r.id) + " (account " + std::to_string(r.account) + ", category " +
                      std::to_string(r.category) + ") and " + utf8(other->id) + " (account " +
                      std::to_string(other->account) + ", category " + std::to_string(other->category) +
                      ") do not name each other's accounts");
    // Each pair is compared once, from its smaller identifier.
    if (r.id < other->id) checkTransferAmounts(r, *other, out);
}

}  // namespace

std::vector<std::string> checkTransfers(const StoreSnapshot& s) {
    std::vector<std::string> out;
    for (const TransactionRow& r : s.transactions) {
        checkOneTransfer(s, r, out);
        checkEnteredAmount(r, out);
    }
    return out;
}

std::vector<std::string> checkSplits(const StoreSnapshot& s) {
    std::vector<std::string> out;
    std::map<std::u16string, dove::Amount> sums;
    std::set<std::u16string> overflowing;
    for (const TransactionRow& r : s.transactions) {
        if (r.kind != dove::kKindSplitLine) continue;
        const std::u16string owner = dove::splitOwnerIdentifier(r.id);
        dove::Amount& sum = sums[owner];
        if (!dove::addAmounts(sum, r.amount, sum)) overflowing.insert(owner);
    }
    for (const TransactionRow& r : s.transactions) {
        if (r.kind != dove::kKindSplitOwner) continue;
        const dove::Amount sum = sums.count(r.id) ? sums[r.id] : 0;
        if (overflowing.count(r.id) != 0)
            out.push_back("split: the lines of " + utf8(r.id) + " add up to more than an amount can hold");
        else if (sum != r.amount)
            out.push_back("split: " + utf8(r.id) + " has amount " + amountText(r.amount) +
                          " but its lines add up to " + amountText(sum));
    }
    return out;
}

// Each active line's total (417) is the sum over this month's transactions whose category leads to the
// line, each converted into the default currency at its date's rate and rounded. A sum that would leave
// the range of an amount is reported as such.
std::vector<std::string> checkBudgetTotals(const StoreSnapshot& s) {
    std::vector<std::string> out;
    if (s.budgetLines.empty()) return out;
    const dove::Date now = dove::nowLocal();
    const std::u16string base = dove::currencyCache().defaultCode();
    std::map<int32_t, std::u16string> lineOfCategory;
    std::map<std::u16string, dove::Amount> expected;
    std::set<std::u16string> overflowing;
    for (const TransactionRow& r : s.transactions) {
        if (r.category == 0 || dove::compareDates(r.date, now, dove::kCompareMonths) != 0) continue;
        auto found = lineOfCategory.find(r.category);
        if (found == lineOfCategory.end())
            found = lineOfCategory.emplace(r.category, dove::findBudgetLine(r.category)).first;
        if (found->second.empty()) continue;
        const double rate = dove::currencyCache().getRate(r.currency, base, r.date);
        dove::Amount& sum = expected[found->second];
        dove::Amount converted = 0;
        if (!dove::amountFromRealInRange(static_cast<double>(r.amount) * rate, converted) ||
            !dove::addAmounts(sum, converted, sum))
            overflowing.insert(found->second);
    }
    for (const BudgetLineRow& line : s.budgetLines) {
        const bool active = line.active >= 1 && (line.category >= 2 || line.category < 0);
        if (!active) continue;
        if (overflowing.count(line.key) != 0) {
            out.push_back("budget: this month's transactions of line " + utf8(line.key) + " of budget " +
                          std::to_string(line.budget) + " add up to more than an amount can hold");
            continue;
        }
        const dove::Amount want = expected.count(line.key) ? expected[line.key] : 0;
        if (line.total != want)
            out.push_back("budget: line " + utf8(line.key) + " of budget " + std::to_string(line.budget) +
                          " (category " + std::to_string(line.category) + ") totals " +
                          amountText(line.total) + " this month, expected " + amountText(want));
    }
    return out;
}

}  // namespace financestore

// The demonstration store's year of transactions up to today: salaries, rent, bills, groceries (some
// split), dining (some entered in EUR or RUR), transfers between accounts (one into the EUR account),
// securities bought in the investment account, a credit card paid off and closed, a holiday in euros and
// a few excluded entries. Every one goes through the full save in date order.
#include <vector>

#include "DemoData.h"
#include "EntryAmount.h"
#include "TransactionStore.h"
#include "platform/windows.h"

namespace financestore::demo {
namespace {

struct Posting {
    int32_t account = kChecking;
    const char* payee = "";
    dove::Amount amount = 0;
    int32_t category = 0;  // negative: a transfer to that account
    int32_t project = 0;
    const char16_t* entered = u"";  // the currency the amount is given in; "" for the account's
    int32_t excluded = 0;
    const char16_t* security = u"";
    int32_t units = 0;
    std::vector<std::pair<int32_t, dove::Amount>> splits;  // category and amount of each split line
};

class History {
  public:
    explicit History(Context& c) : m_c(c) {}
    bool run();

  private:
    bool post(dove::Date date, const Posting& p);
    bool postDay(int day, dove::Date date);
    bool postFixed(int day, const SYSTEMTIME& t, dove::Date date);
    bool postGroceries(dove::Date date);
    bool postCard(int day, dove::Date date);
    bool postHoliday(int day, dove::Date date);
    Posting payment(const char* payee, const char* category, dove::Amount amount) {
        Posting p;
        p.payee = payee;
        p.category = m_c.category(category);
        p.amount = amount;
        return p;
    }

    Context& m_c;
    dove::Amount m_cardBalance = -35000;
    int m_day = 0;
};

bool History::post(dove::Date date, const Posting& p) {
    dove::TransactionRecord r;
    r.setAccount(p.account);
    r.setDate(date);
    setAmountIn(r, p.amount, p.entered, p.account == kEuroAccount ? u"EUR" : u"USD");
    r.setCategory(p.category);
    r.setProject(p.project);
    r.setPayee(m_c.payee(p.payee));
    r.setPayeeName(platform::fromUtf8(p.payee));
    r.setCleared(m_day < 358 ? 1 : 0);
    r.setI4(dove::tx::kExcluded, p.excluded);
    if (*p.security != u'\0') {
        r.setText(dove::tx::kSecurity, p.security);
        r.setI4(dove::tx::kUnitsChange, p.units);
    }
    if (!p.splits.empty()) {
        std::vector<dove::TransactionRecord> lines;
        for (const auto& [category, amount] : p.splits) {
            dove::TransactionRecord line;
            line.setCategory(category);
            line.setAmount(amount);
            line.setCurrency(r.currency());
            lines.push_back(std::move(line));
        }
        r.setSplits(std::move(lines));
    }
    return dove::addNewTransaction(r) == dove::StoreStatus::Ok;
}

// Income, rent, bills, transfers and investments on fixed days of the month.
bool History::postFixed(int day, const SYSTEMTIME& t, dove::Date date) {
    const int dom = t.wDay;
    std::vector<Posting> due;
    if (dom == 1 && t.wMonth % 3 == 0) {
        Posting pay = payment("Acme Corp", "Salary", 250000);
        pay.category = 0;
        pay.splits = {{m_c.category("Salary"), 300000}, {-kSavings, -50000}};
        due.push_back(pay);
    } else if (dom == 1 || dom == 15) {
        due.push_back(payment("Acme Corp", "Salary", 250000));
    }
    if (dom == 3) due.push_back(payment("Oakwood Apartments", "Home:Rent", -120000));
    if (dom == 5) due.push_back(payment("City Power", "Home:Utilities", -m_c.between(8000, 16000)));
    if (dom == 8) due.push_back(payment("Water Works", "Home:Utilities", -m_c.between(3000, 5000)));
    if (dom == 12) due.push_back(payment("Comcast", "Home:Utilities", -7999));
    if (dom == 18) due.push_back(payment("Netflix", "Entertainment", -1599));
    if (dom == 2) due.push_back(payment("Gym Plus", "Health", -4500));
    if (dom == 20) {
        Posting transfer = payment("Savings Transfer", "", -50000);
        transfer.category = -kSavings;
        due.push_back(transfer);
    }
    if (dom == 10 && t.wMonth % 2 == 0) {
        Posting transfer = payment("Savings Transfer", "", -30000);
        transfer.category = -kEuroAccount;
        due.push_back(transfer);
    }
    if (dom == 25) {
        Posting transfer = payment("Broker Inc", "", -100000);
        transfer.category = -kBrokerage;
        due.push_back(transfer);
    }
    if (dom == 26) {
        Posting buy = payment("Broker Inc", "Investments", -100000);
        buy.account = kBrokerage;
        buy.security = t.wMonth % 2 == 0 ? u"ACME" : u"GLOBEX";
        buy.units = t.wMonth % 2 == 0 ? 80 : 25;
        due.push_back(buy);
    }
    if (dom == 28) {
        Posting interest = payment("First Bank", "Interest", m_c.between(1000, 2500));
        interest.account = kSavings;
        due.push_back(interest);
    }
    if (day % 30 == 7) {
        Posting renovation = payment("Home Depot", "Home:Furniture", -m_c.between(2000, 20000));
        renovation.project = m_c.project("Home renovation");
        due.push_back(renovation);
    }
    for (const Posting& p : due)
        if (!post(date, p)) return false;
    return true;
}

bool History::postGroceries(dove::Date date) {
    static const char* const kShops[] = {"Fresh Market", "Green Grocer", "Trader Joe's", "Corner Store",
                                         "Bakery Lane"};
    if (m_c.chance(20)) {
        Posting big = payment(m_c.chance(50) ? "Costco" : "Walmart", "Groceries", 0);
        const dove::Amount food = -m_c.between(4000, 12000), other = -m_c.between(1000, 4000);
        big.category = 0;
        big.amount = food + other;
        big.splits = {
            {m_c.category("Groceries"), food},
            {m_c.category(std::string(big.payee) == "Costco" ? "Home:Furniture" : "Clothing"), other}};
        return post(date, big);
    }
    const char* shop = kShops[m_c.between(0, 4)];
    return post(date, payment(shop, "Groceries", -m_c.between(800, 9000)));
}

// The old credit card is used for three months, paid off from Checking and then closed.
bool History::postCard(int day, dove::Date date) {
    static const char* const kShops[] = {"Zara", "Concert Hall", "Bookstore"};
    static const char* const kCategories[] = {"Clothing", "Entertainment", "Entertainment"};
    if (day < 90 && m_c.chance(15)) {
        const int which = static_cast<int>(m_c.between(0, 2));
        Posting p = payment(kShops[which], kCategories[which], -m_c.between(1500, 9000));
        p.account = kOldCard;
        m_cardBalance += p.amount;
        return post(date, p);
    }
    if (day != 95 || m_cardBalance == 0) return true;
    Posting payoff = payment("First Bank", "", m_cardBalance);
    payoff.category = -kOldCard;
    m_cardBalance = 0;
    return post(date, payoff);
}

// A week in Paris paid from the euro account, and two dinners entered in euros on the dollar account.
bool History::postHoliday(int day, dove::Date date) {
    if (day < 200 || day > 207) return true;
    std::vector<Posting> due;
    if (day == 200) due.push_back(payment("Air France", "Travel", -m_c.between(25000, 40000)));
    if (day == 201) due.push_back(payment("Hotel Lumiere", "Travel", -m_c.between(15000, 25000)));
    due.push_back(payment("Paris Metro", "Travel", -m_c.between(190, 1490)));
    if (day % 2 == 0) due.push_back(payment("Le Bistro", "Dining", -m_c.between(3000, 9000)));
    for (Posting& p : due) {
        p.account = kEuroAccount;
        p.project = m_c.project("Vacation");
    }
    if (day == 203 || day == 206) {
        Posting dinner = payment("Sushi Bar", "Dining", -m_c.between(4000, 8000));
        dinner.entered = u"EUR";
        dinner.project = m_c.project("Vacation");
        due.push_back(dinner);
    }
    for (const Posting& p : due)
        if (!post(date, p)) return false;
    return true;
}

bool History::postDay(int day, dove::Date date) {
    m_day = day;
    const SYSTEMTIME t = dove::dateFields(date);
    if (!postFixed(day, t, date) || !postCard(day, date) || !postHoliday(day, date)) return false;
    if ((t.wDayOfWeek == 2 || t.wDayOfWeek == 6) && !postGroceries(date)) return false;
    if (t.wDayOfWeek == 1 && !post(date, payment(m_c.chance(50) ? "Shell Station" : "Chevron", "Car:Fuel",
                                                 -m_c.between(3000, 7000))))
        return false;
    if (m_c.chance(25)) {
        static const char* const kPlaces[] = {"Pizza Palace", "Cafe Central", "Burger Barn", "Taco Stand"};
        Posting dinner = payment(kPlaces[m_c.between(0, 3)], "Dining", -m_c.between(500, 4000));
        // Now and then a meal abroad, entered in roubles and converted into dollars.
        if (m_c.chance(8)) dinner.entered = u"RUR", dinner.amount *= 90;
        if (!post(date, dinner)) return false;
    }
    if (m_c.chance(4) && !post(date, payment("City Pharmacy", "Health", -m_c.between(500, 4000))))
        return false;
    if (day % 60 == 45) {
        // A cheque written but not yet counted toward the balance.
        Posting cheque = payment("Dr. Smith", "Health", -12000);
        cheque.excluded = 1;
        if (!post(date, cheque)) return false;
    }
    return true;
}

bool History::run() {
    for (int day = 0; addDays(m_c.start, day) <= m_c.today; ++day)
        if (!postDay(day, addDays(m_c.start, day))) return false;
    return true;
}

}  // namespace

bool seedHistory(Context& c) {
    return History(c).run();
}

}  // namespace financestore::demo

// The draft's start-up, reset, choices, typed amount and field texts, read from the finance store's
// records.
#include "EntryDraft.h"

#include "Accounts.h"
#include "AmountTyping.h"
#include "Categories.h"
#include "CurrencyCache.h"
#include "FinanceStore.h"
#include "Payees.h"
#include "Projects.h"
#include "RegionalSettings.h"
#include "SettingsStore.h"

namespace shell {
namespace {

// The first account of the Accounts table in the store's order (its open order), 0 when none.
int32_t firstAccount() {
    dove::TableCursor& accounts = dove::tableCursor(dove::Table::Accounts);
    if (!accounts.isOpen() || accounts.recordCount() == 0) return 0;
    accounts.saveSort();
    int32_t number = 0;
    if (accounts.ensureSort(dove::account::kKey, dove::SortKind::String) && accounts.moveTo(0))
        number = accounts.getI4(dove::account::kNumber);
    accounts.restoreSort();
    return number;
}

}  // namespace

void EntryDraft::start(HWND owner) {
    m_owner = owner;
    auto stored = static_cast<int32_t>(readSettingNumber(kSettingAccount, 0));
    m_account = stored != 0 && dove::accountExists(stored) ? stored : firstAccount();
    m_accountSet = false;
    reset();
    m_currency = dove::currencyCache().idOfCode(dove::accountCurrency(m_account));
}

void EntryDraft::reset() {
    m_payee = 0;
    m_category = 0;
    m_project = 0;
    m_currency = 0;
    m_date = 0;
    m_amount = 0;
    m_cleared = false;
    m_accountSet = m_categorySet = m_projectSet = m_amountSet = m_currencySet = false;
    m_expense = false;
    m_typedAmount.clear();
}

void EntryDraft::setPayee(int32_t payee) {
    m_payee = payee;
    dove::Payee record;
    if (payee == 0 || !dove::readPayeeByNumber(payee, record)) return;
    const dove::MemorizedEntry& entry = record.entry;
    if (!m_accountSet && entry.account != 0 && dove::accountExists(entry.account)) {
        m_account = entry.account;
        if (!m_currencySet) m_currency = dove::currencyCache().idOfCode(dove::accountCurrency(m_account));
    }
    if (!m_categorySet) m_category = entry.category;
    if (!m_projectSet) m_project = entry.project;
    if (!m_amountSet) {
        m_amount = entry.amount;
        m_typedAmount.clear();
    }
    if (!m_categorySet || !m_amountSet) signFromCategoryOrAmount();
}

void EntryDraft::signFromCategoryOrAmount() {
    const int32_t type = m_category > 0 ? dove::categoryType(m_category) : 0;
    if (type != dove::category::kIncome && type != dove::category::kExpense) {
        // A transfer, or an entry without a category (a split one): the sign says which way the money
        // goes.
        m_expense = m_amount < 0;
        return;
    }
    m_expense = type == dove::category::kExpense;
    // The calculator never hands out the one value without a magnitude (it gives 0 beyond the range).
    if (m_expense ? m_amount > 0 : m_amount < 0) m_amount = -m_amount;
}

void EntryDraft::setAccount(int32_t account) {
    m_account = account;
    if (!m_currencySet) m_currency = dove::currencyCache().idOfCode(dove::accountCurrency(account));
    m_accountSet = true;
}

void EntryDraft::setCategory(int32_t category) {
    m_category = category;
    m_categorySet = true;
    applyCategoryType();
}

void EntryDraft::applyCategoryType() {
    if (m_category == 0) {
        m_expense = false;
        return;
    }
    // A transfer has no type of its own; the amount's sign says which way the money goes.
    if (m_category < 0) {
        m_expense = m_amount < 0;
        return;
    }
    m_expense = dove::categoryType(m_category) == dove::category::kExpense;
    if (m_expense ? m_amount > 0 : m_amount < 0) m_amount = -m_amount;
}

void EntryDraft::setProject(int32_t project) {
    m_project = project;
    m_projectSet = true;
}

void EntryDraft::setDate(dove::Date date) {
    m_date = date;
}

void EntryDraft::setCurrency(uint32_t currency) {
    if (currency == 0) return;
    m_currency = currency;
    m_currencySet = true;
}

void EntryDraft::setAmount(int64_t value) {
    m_amount = value;
    signFromCategoryOrAmount();
    m_typedAmount.clear();
    m_amountSet = true;
}

bool EntryDraft::typeAmount(char16_t key) {
    const char16_t separator = dove::regionalSettings().decimalSeparator;
    std::optional<std::u16string> text = typeAmountKey(m_typedAmount, key, separator);
    if (!text) return false;
    m_typedAmount = std::move(*text);
    m_amountSet = true;
    const int64_t value = typedAmountValue(m_typedAmount, separator);
    const int64_t amount = m_expense ? -value : value;
    if (amount == m_amount) return false;
    m_amount = amount;
    return true;
}

dove::Date EntryDraft::effectiveDate() const {
    if (m_date != 0) return m_date;
    dove::Date now = dove::nowLocal();
    return now - now % dove::kDateDay;
}

std::u16string EntryDraft::payeeText() const {
    dove::Payee payee;
    if (m_payee == 0 || !dove::readPayeeByNumber(m_payee, payee)) return {};
    return payee.name;
}

std::u16string EntryDraft::dateText() const {
    return dove::shortDateText(effectiveDate());
}

std::u16string EntryDraft::amountCurrencyCode() const {
    std::u16string code = m_currency != 0 ? dove::currencyCache().codeOfId(m_currency) : std::u16string();
    return code.empty() ? dove::accountCurrency(m_account) : code;
}

std::u16string EntryDraft::amountText() const {
    // An expense shows as a payment even before it has an amount.
    return dove::currencyText(m_amount, amountCurrencyCode(), false, m_expense || m_amount < 0);
}

std::u16string EntryDraft::accountText() const {
    if (m_account == 0 || !dove::accountExists(m_account)) return {};
    return dove::accountName(m_account) + u" (" + dove::accountCurrency(m_account) + u")";
}

std::u16string EntryDraft::categoryText() const {
    return m_category != 0 ? dove::categoryName(m_category) : std::u16string();
}

std::u16string EntryDraft::projectText() const {
    return m_project != 0 ? dove::projectName(m_project) : std::u16string();
}

}  // namespace shell

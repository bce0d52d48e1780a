// EntryDraft: the transaction being entered on the entry page (account, payee, category, project,
// currency, date, amount, cleared flag), the choices that fill it, the amount typed on the field panel,
// the texts the field panel shows for it and its save as a new transaction.
#pragma once

#include <cstdint>
#include <string>

#include "DateTime.h"
#include "StoreStatus.h"
#include "TransactionRecord.h"
#include "platform/wintypes.h"

namespace shell {

class EntryDraft {
  public:
    // Starts the draft for owner (message boxes): the account is "AcctID" when it names an existing
    // account, else the first account of the Accounts table in the store's order (0 when there is
    // none); the currency is that account's; everything else as after reset().
    void start(HWND owner);
    // A new entry: payee, category, project and currency cleared, date 0 (today), amount 0, cleared
    // flag and every set-by-user flag off. The account stays.
    void reset();

    HWND owner() const { return m_owner; }
    int32_t account() const { return m_account; }
    int32_t payee() const { return m_payee; }
    int32_t category() const { return m_category; }
    int32_t project() const { return m_project; }
    uint32_t currency() const { return m_currency; }
    // The stored date; 0 means today.
    dove::Date date() const { return m_date; }
    // The date, with 0 resolved to the start of today.
    dove::Date effectiveDate() const;
    int64_t amount() const { return m_amount; }
    bool cleared() const { return m_cleared; }
    void toggleCleared() { m_cleared = !m_cleared; }
    bool accountSetByUser() const { return m_accountSet; }
    bool categorySetByUser() const { return m_categorySet; }
    bool projectSetByUser() const { return m_projectSet; }
    bool amountSetByUser() const { return m_amountSet; }
    bool currencySetByUser() const { return m_currencySet; }
    bool expense() const { return m_expense; }
    // The digits typed on the field panel since the amount last changed otherwise (empty then).
    const std::u16string& typedAmount() const { return m_typedAmount; }

    // The payee chosen in the payee list. When its record can be read, its memorized entry proposes
    // what the user has not set in this entry: the account (with its currency, unless the user set
    // one), the category, the project and the amount. An income or expense category then gives the
    // amount (the user's too) its sign; without one the amount keeps its sign, which decides the
    // expense flag. Otherwise only the payee is stored.
    void setPayee(int32_t payee);
    // The account chosen: the currency follows it unless the user set one; marked as set by the user.
    void setAccount(int32_t account);
    // The category chosen (negative: a transfer to that account), marked as set by the user. A
    // category of type 2 makes the entry an expense, any other a receipt, and the amount's sign
    // follows; a transfer keeps the amount's sign; no category clears the expense flag.
    void setCategory(int32_t category);
    // The project chosen, marked as set by the user.
    void setProject(int32_t project);
    // The date chosen (0: today).
    void setDate(dove::Date date);
    // The amount's currency chosen (a currency id), marked as set by the user; 0 is ignored.
    void setCurrency(uint32_t currency);
    // The amount from the calculator, marked as set by the user. With an income or expense category the
    // category decides the sign (the value's magnitude, negative for an expense); otherwise the value
    // keeps its sign and decides the expense flag. The typed text is emptied.
    void setAmount(int64_t value);
    // A key typed on the field panel (a digit, backspace 8, clear 12, "." or ","; see AmountTyping.h)
    // with the locale's decimal separator: the typed text takes it, and the amount becomes the text's
    // value, negative for an expense, marked as set by the user. True when the stored amount changed;
    // other characters change nothing.
    bool typeAmount(char16_t key);

    // The currency code of the amount: the draft's currency, else the account's.
    std::u16string amountCurrencyCode() const;
    // The new transaction a save writes: account, payee (number and name), category, project, date (now
    // when the draft has none), cleared flag, and the amount in the account's currency; an amount in
    // another currency is kept as the entered amount with its currency and the rate of the date, and
    // converted at that rate, rounded half away from zero.
    dove::TransactionRecord transactionRecord() const;
    // Writes transactionRecord() with the store's full write (balances, budget totals, notification
    // flags), all of it or nothing. NoAccount without an account or when the account no longer exists, nothing written; Ok when written, and
    // "AcctID" then names the account; otherwise the store's status, nothing written. The draft itself
    // never changes.
    dove::StoreStatus save() const;

    // The field texts: empty for a field with nothing chosen.
    std::u16string payeeText() const;
    std::u16string dateText() const;
    std::u16string amountText() const;
    // "Name (CODE)" of the account.
    std::u16string accountText() const;
    std::u16string categoryText() const;
    std::u16string projectText() const;

  private:
    // The expense flag for the category and the amount's sign made to agree with it.
    void applyCategoryType();
    // An income or expense category decides the expense flag and the amount's sign; otherwise (a
    // transfer, no category, a category without a type) the amount's own sign decides the flag.
    void signFromCategoryOrAmount();

    HWND m_owner = nullptr;
    int32_t m_account = 0;
    int32_t m_payee = 0;
    int32_t m_category = 0;
    int32_t m_project = 0;
    uint32_t m_currency = 0;
    dove::Date m_date = 0;
    int64_t m_amount = 0;
    bool m_cleared = false;
    bool m_accountSet = false;
    bool m_categorySet = false;
    bool m_projectSet = false;
    bool m_amountSet = false;
    bool m_currencySet = false;
    bool m_expense = false;
    std::u16string m_typedAmount;
};

}  // namespace shell
